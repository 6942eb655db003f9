// The serial link: a COM port (Linux: termios; Windows: the Win32 communications
// functions; COM1 is the device \\.\COM1).
//
// Port names on Linux: "COM1".."COM8" resolve through a folder of links, as Wine users
// know it: $XDG_CONFIG_HOME/stampa/ports/com1 (default ~/.config/stampa/ports/com1)
// pointing at the device, e.g. /dev/ttyUSB0. Without a link COMn is /dev/ttyS<n-1>.
// Any other name is opened as a path.
#pragma once

#include <chrono>
#include <string>
#include <utility>
#include <vector>

#include "link/link_state.h"
#include "link/link_timings.h"
#include "link/serial/serial_settings.h"

namespace stampa {

// Opens a port, sets line, flow control and time-outs, empties the driver's
// queues and proves a printer answers (SerialLinkTest). The handle, or -1 on
// any failure, with the port closed again. A port that another program holds
// fails at once. Names beginning with "L" go to the parallel link, with the
// port I/O driver's `parallel` settings. Why it failed goes to `*why`.
PortHandleValue SerialOpen(const std::string& name, int baud, int dataBits, int stopBits,
                           int parity, int flowMode, const SerialTimings& timings = {},
                           const ParallelSettings& parallel = {}, LinkError* why = nullptr);

// GS r 1, then up to two seconds for at least one byte in the input queue (the
// byte is left unread), then LF, then the long time-outs. Non-zero on success.
int SerialLinkTest(PortHandleValue handle, const SerialTimings& timings = {});

// The device a port name stands for.
std::string SerialDevicePath(const std::string& name);
// The folder of COM port links.
std::string SerialPortsFolder();
// COM1..COM8 and the device each stands for.
std::vector<std::pair<std::string, std::string>> SerialPortMap();

}  // namespace stampa
