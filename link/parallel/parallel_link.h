// The parallel link: the port's registers driven byte by byte through the port
// I/O library (libDLPortIO.so, bound by name), with the strobe and busy
// handshake. On platforms of the NT family the port I/O driver is first
// installed and started as a kernel-driver service.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>

#include "common/library_loader.h"
#include "link/link_state.h"
#include "link/parallel/service_control.h"

namespace stampa {

inline constexpr PortHandleValue kParallelToken = 0x12345678;
// "libDLPortIO.so" on Linux, "DLPortIO.dll" on Windows.
inline const std::string kPortIoLibraryFile = SharedLibraryFileName("DLPortIO");

// The parallel branch of SerialOpen, for names beginning with "L": the token,
// or -1 when the link test (one LF) fails. LPT1 is at 0x378, LPT2 at 0x278,
// LPT3 at 0x3BC; LPT4 has no address and fails its test.
PortHandleValue ParallelPortOpen(const std::string& name);

// Shuts a loaded driver down, records the platform, folder and base, then
// installs, starts and loads the driver.
void ParallelOpen(std::uint16_t base);

// Stops and removes the service where this program installed or started it,
// and unloads the library.
void ParallelShutdown();

// `length` when every byte went out, else 0.
int ParallelWrite(const unsigned char* bytes, int length);

// Waits (up to the limit, 5000 ms) while BUSY or PAPER END is active, then
// data, control 0x0D, control 0x0C, and one more status read. 1 or 0.
int ParallelSendByte(unsigned char byte);

bool PortDriverLoaded();
std::string DriverLastError();
std::uint16_t ParallelBaseAddress();

// The service steps (NT family only), each non-zero on success.
int ConnectSCM();
int DriverInstall();
int DriverStart();
int DriverStop();
int DriverRemove();
int CloseSCM();
int DriverFilesCheck();

// Seams: the platform's family, its service manager, the handshake's clock.
void SetPlatformIsNt(bool isNt);
void SetServiceControl(IServiceControl* control);
struct ParallelClock {
    std::function<std::int64_t()> nowMs;  // a monotonic clock in milliseconds
    std::function<void()> pause;          // between two status reads
    std::int64_t busyLimitMs = 5000;
};
void SetParallelClock(const ParallelClock& clock);
// The port I/O library's file name or path (tests load a damaged one).
void SetPortIoLibraryFile(const std::string& fileName);
ParallelClock DefaultParallelClock();

// Back to the start state (tests): unloads everything without service steps.
void ResetParallelState();

}  // namespace stampa
