// The port I/O library's backends: the registers of a port, and the
// platform's ways to reach a simulated port's shared file or real hardware.
#pragma once

#include <cstdint>
#include <memory>

#include "standins/dlportio/sim_port.h"

namespace dlportio {

enum class Register { Data, Status, Control, Unknown };

// One backend: registers by their place relative to the port's base.
class Backend {
  public:
    virtual ~Backend() = default;
    virtual std::uint8_t Read(std::uint32_t base, Register reg) = 0;
    virtual void Write(std::uint32_t base, Register reg, std::uint8_t value) = 0;
};

// The simulated port in the shared file `path`; nullptr when the file is
// missing or is not one.
SimPort* MapSimPort(const char* path);
void UnmapSimPort(SimPort* port);

// Real parallel ports: Linux ppdev; on Windows port I/O needs the port
// driver, which this library is not, so there every register reads 0xFF.
std::unique_ptr<Backend> HardwarePorts();

}  // namespace dlportio
