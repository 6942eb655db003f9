#include <fcntl.h>
#include <linux/parport.h>
#include <linux/ppdev.h>
#include <sys/ioctl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <fstream>
#include <map>
#include <string>

#include "standins/dlportio/backend.h"

namespace dlportio {
namespace {

// Real parallel ports through /dev/parportN.
class Ppdev final : public Backend {
  public:
    ~Ppdev() override {
        for (auto& [base, fd] : ports_) {
            if (fd >= 0) {
                ::ioctl(fd, PPRELEASE);
                ::close(fd);
            }
        }
    }

    std::uint8_t Read(std::uint32_t base, Register reg) override {
        const int fd = Port(base);
        unsigned char value = 0xFF;
        if (fd < 0)
            return value;
        switch (reg) {
            case Register::Data:
                ::ioctl(fd, PPRDATA, &value);
                break;
            case Register::Status:
                ::ioctl(fd, PPRSTATUS, &value);
                break;
            case Register::Control:
                ::ioctl(fd, PPRCONTROL, &value);
                break;
            default:
                break;
        }
        return value;
    }

    void Write(std::uint32_t base, Register reg, std::uint8_t value) override {
        const int fd = Port(base);
        unsigned char v = value;
        if (fd < 0)
            return;
        if (reg == Register::Data)
            ::ioctl(fd, PPWDATA, &v);
        if (reg == Register::Control)
            ::ioctl(fd, PPWCONTROL, &v);
    }

  private:
    // The parportN whose base address is `base`, opened and claimed on first use.
    int Port(std::uint32_t base) {
        const auto known = ports_.find(base);
        if (known != ports_.end())
            return known->second;
        int fd = -1;
        for (int n = 0; n < 8 && fd < 0; ++n) {
            std::ifstream in("/proc/sys/dev/parport/parport" + std::to_string(n) + "/base-addr");
            unsigned long address = 0;
            if (in >> address && address == base) {
                fd = ::open(("/dev/parport" + std::to_string(n)).c_str(), O_RDWR | O_CLOEXEC);
                if (fd >= 0 && ::ioctl(fd, PPCLAIM) != 0) {
                    ::close(fd);
                    fd = -1;
                }
            }
        }
        ports_[base] = fd;
        return fd;
    }

    std::map<std::uint32_t, int> ports_;
};

}  // namespace

std::unique_ptr<Backend> HardwarePorts() {
    return std::make_unique<Ppdev>();
}

SimPort* MapSimPort(const char* path) {
    const int fd = ::open(path, O_RDWR | O_CLOEXEC);
    if (fd < 0)
        return nullptr;
    void* m = ::mmap(nullptr, sizeof(SimPort), PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    ::close(fd);
    if (m == MAP_FAILED)
        return nullptr;
    auto* port = static_cast<SimPort*>(m);
    if (port->magic != kSimMagic) {
        ::munmap(m, sizeof(SimPort));
        return nullptr;
    }
    return port;
}

void UnmapSimPort(SimPort* port) {
    if (port != nullptr)
        ::munmap(port, sizeof(SimPort));
}

}  // namespace dlportio
