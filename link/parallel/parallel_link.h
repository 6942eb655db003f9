// The parallel link: the port's registers driven byte by byte through the port
// I/O library (libDLPortIO.so, bound by name), with the strobe and busy
// handshake. On platforms of the NT family the port I/O driver is first
// installed and started as a kernel-driver service.
//
// Each open parallel link owns its driver (ParallelDriver); the connection
// registered under kParallelToken holds it, so the driver lives exactly as
// long as the link, and no state outlives it.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

#include "common/library_loader.h"
#include "link/link_error.h"
#include "link/link_state.h"
#include "link/parallel/parallel_settings.h"

namespace stampa {

inline constexpr PortHandleValue kParallelToken = 0x12345678;

// The parallel branch of SerialOpen, for names beginning with "L": the token,
// or -1 when the link test (one LF) fails. LPT1 is at 0x378, LPT2 at 0x278,
// LPT3 at 0x3BC; LPT4 has no address and fails its test. A parallel link open
// before is closed first. Where the link test fails the driver stays loaded
// until PortClose(kNoHandle, kParallelLink).
PortHandleValue ParallelPortOpen(const std::string& name, const ParallelSettings& settings = {},
                                 LinkError* why = nullptr);

// The port I/O driver of one parallel link. Its calls are serialised by its
// own lock.
class ParallelDriver {
  public:
    explicit ParallelDriver(ParallelSettings settings);
    ~ParallelDriver();
    ParallelDriver(const ParallelDriver&) = delete;
    ParallelDriver& operator=(const ParallelDriver&) = delete;

    // Shuts a loaded driver down, records the folder and base, then installs,
    // starts and loads the driver.
    void ParallelOpen(std::uint16_t base);

    // Stops and removes the service where this driver installed or started
    // it, and unloads the library.
    void ParallelShutdown();

    // `length` when every byte went out, else 0 with the reason in `*why`.
    int ParallelWrite(const unsigned char* bytes, int length, LinkError* why = nullptr);

    // Waits (up to the limit, 5000 ms) while BUSY or PAPER END is active, then
    // data, control 0x0D, control 0x0C, and one more status read. 1 or 0.
    int ParallelSendByte(unsigned char byte);

    bool PortDriverLoaded() const;
    std::string DriverLastError() const;
    std::uint16_t ParallelBaseAddress() const;

    // The service steps (NT family only), each non-zero on success.
    int ConnectSCM();
    int DriverInstall();
    int DriverStart();
    int DriverStop();
    int DriverRemove();
    int CloseSCM();
    // Repairs a registered service whose driver file is missing.
    int DriverFilesCheck();

  private:
    bool LoadPortIo();
    void Shutdown();

    struct PortIoEntries {  // of the twelve entry points, the two byte-wide ones
        std::uint8_t (*ReadUchar)(std::uint32_t) = nullptr;
        void (*WriteUchar)(std::uint32_t, std::uint8_t) = nullptr;
    };

    mutable std::recursive_mutex mutex_;
    ParallelSettings settings_;
    std::string driverDirectory_;
    ServiceHandle manager_ = 0;
    bool alreadyInstalled_ = false;
    bool alreadyRunning_ = false;
    std::unique_ptr<LoadedLibrary> library_;
    PortIoEntries io_;
    bool driverLoaded_ = false;
    std::uint16_t base_ = 0;
    std::string lastError_;
};

// The driver of the open (or failed) parallel link; nullptr when there is none.
std::shared_ptr<ParallelDriver> OpenParallelDriver();

}  // namespace stampa
