// What the parallel link is opened with: the platform's family, its service
// manager, the port I/O library's file and the handshake's clock. Settings of
// each session's link (LinkState::parallel), handed to the link when it
// opens; the program uses the platform's, tests give fakes.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <thread>

#include "common/library_loader.h"
#include "link/parallel/service_control.h"

namespace stampa {

// "libDLPortIO.so" on Linux, "DLPortIO.dll" on Windows.
inline const std::string kPortIoLibraryFile = SharedLibraryFileName("DLPortIO");

struct ParallelClock {
    // A monotonic clock in milliseconds.
    std::function<std::int64_t()> nowMs = [] {
        return std::chrono::duration_cast<std::chrono::milliseconds>(
                   std::chrono::steady_clock::now().time_since_epoch())
            .count();
    };
    // Between two status reads.
    std::function<void()> pause = [] {
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    };
    std::int64_t busyLimitMs = 5000;  // BUSY or PAPER END held longer fails the byte
};

struct ParallelSettings {
    bool isNt = PlatformIsNtFamily();
    IServiceControl* services = SystemServiceControl();  // not owned
    std::string portIoLibrary = kPortIoLibraryFile;      // file name or path
    ParallelClock clock;
};

}  // namespace stampa
