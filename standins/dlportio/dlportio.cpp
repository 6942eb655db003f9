// The port I/O library: a simulated port or the hardware behind the twelve entry points.
#include "standins/dlportio/dlportio.h"

#include <cstdlib>
#include <memory>
#include <mutex>
#include <string>

#include "standins/dlportio/backend.h"

namespace {

using dlportio::Backend;
using dlportio::Register;

// The shared file of the virtual printer's --lpt-sim. One simulated port
// answers for every base address.
class SimulatedPort final : public Backend {
  public:
    explicit SimulatedPort(const char* path) : port_(dlportio::MapSimPort(path)) {}
    ~SimulatedPort() override { dlportio::UnmapSimPort(port_); }

    std::uint8_t Read(std::uint32_t, Register reg) override {
        if (port_ == nullptr)
            return 0xFF;
        switch (reg) {
            case Register::Data:
                return port_->data.load();
            case Register::Status:
                return port_->status.load();
            case Register::Control:
                return port_->control.load();
            default:
                return 0xFF;
        }
    }

    void Write(std::uint32_t, Register reg, std::uint8_t value) override {
        if (port_ == nullptr)
            return;
        if (reg == Register::Data) {
            port_->data = value;
        } else if (reg == Register::Control) {
            const std::uint8_t before = port_->control.exchange(value);
            if (!(before & dlportio::kControlStrobe) && (value & dlportio::kControlStrobe)) {
                Latch();
            }
        }
    }

  private:
    void Latch() {
        const std::uint32_t head = port_->head.load();
        if (head - port_->tail.load() >= port_->ringSize) {
            return;  // the printer was busy and the byte is lost, as on a real port
        }
        port_->ring[head % port_->ringSize] = port_->data.load();
        port_->head = head + 1;
        if (head + 1 - port_->tail.load() >= port_->ringSize) {
            port_->status &= static_cast<std::uint8_t>(~dlportio::kStatusNotBusy);  // full: BUSY
        }
    }

    dlportio::SimPort* port_ = nullptr;
};

std::mutex backendMutex;

Backend& TheBackend() {
    static std::unique_ptr<Backend> backend = [] {
        const char* sim = std::getenv("DLPORTIO_SIM");
        return sim != nullptr && *sim != '\0' ? std::unique_ptr<Backend>(new SimulatedPort(sim))
                                              : dlportio::HardwarePorts();
    }();
    return *backend;
}

// Ports are addressed as base + 0, 1, 2; the bases of the three standard
// parallel ports are known, so the register follows from the offset.
std::pair<std::uint32_t, Register> Locate(std::uint32_t port) {
    for (std::uint32_t base : {0x378u, 0x278u, 0x3BCu}) {
        if (port >= base && port <= base + 2) {
            static const Register regs[] = {Register::Data, Register::Status, Register::Control};
            return {base, regs[port - base]};
        }
    }
    return {0, Register::Unknown};
}

std::uint8_t Read8(std::uint32_t port) {
    const auto [base, reg] = Locate(port);
    if (reg == Register::Unknown)
        return 0xFF;
    std::lock_guard lock(backendMutex);
    return TheBackend().Read(base, reg);
}

void Write8(std::uint32_t port, std::uint8_t value) {
    const auto [base, reg] = Locate(port);
    if (reg == Register::Unknown)
        return;
    std::lock_guard lock(backendMutex);
    TheBackend().Write(base, reg, value);
}

}  // namespace

extern "C" {

uint8_t DlPortReadPortUchar(uint32_t port) {
    return Read8(port);
}
uint16_t DlPortReadPortUshort(uint32_t port) {
    return static_cast<uint16_t>(Read8(port) | (Read8(port + 1) << 8));
}
uint32_t DlPortReadPortUlong(uint32_t port) {
    return DlPortReadPortUshort(port) |
           (static_cast<uint32_t>(DlPortReadPortUshort(port + 2)) << 16);
}
void DlPortWritePortUchar(uint32_t port, uint8_t value) {
    Write8(port, value);
}
void DlPortWritePortUshort(uint32_t port, uint16_t value) {
    Write8(port, static_cast<uint8_t>(value));
    Write8(port + 1, static_cast<uint8_t>(value >> 8));
}
void DlPortWritePortUlong(uint32_t port, uint32_t value) {
    DlPortWritePortUshort(port, static_cast<uint16_t>(value));
    DlPortWritePortUshort(port + 2, static_cast<uint16_t>(value >> 16));
}
void DlPortReadPortBufferUchar(uint32_t port, uint8_t* buffer, uint32_t count) {
    for (uint32_t i = 0; i < count; ++i)
        buffer[i] = DlPortReadPortUchar(port);
}
void DlPortReadPortBufferUshort(uint32_t port, uint16_t* buffer, uint32_t count) {
    for (uint32_t i = 0; i < count; ++i)
        buffer[i] = DlPortReadPortUshort(port);
}
void DlPortReadPortBufferUlong(uint32_t port, uint32_t* buffer, uint32_t count) {
    for (uint32_t i = 0; i < count; ++i)
        buffer[i] = DlPortReadPortUlong(port);
}
void DlPortWritePortBufferUchar(uint32_t port, const uint8_t* buffer, uint32_t count) {
    for (uint32_t i = 0; i < count; ++i)
        DlPortWritePortUchar(port, buffer[i]);
}
void DlPortWritePortBufferUshort(uint32_t port, const uint16_t* buffer, uint32_t count) {
    for (uint32_t i = 0; i < count; ++i)
        DlPortWritePortUshort(port, buffer[i]);
}
#ifndef DLPORTIO_WITHOUT_LAST
void DlPortWritePortBufferUlong(uint32_t port, const uint32_t* buffer, uint32_t count) {
    for (uint32_t i = 0; i < count; ++i)
        DlPortWritePortUlong(port, buffer[i]);
}
#endif

}  // extern "C"
