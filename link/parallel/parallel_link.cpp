#include "link/parallel/parallel_link.h"

#include <atomic>
#include <cerrno>
#include <filesystem>
#include <memory>
#include <mutex>
#include <thread>

#include "common/library_loader.h"
#include "common/text_format.h"
#include "link/link_error.h"
#include "link/port.h"
#include "link/senders.h"
#include "link/transport.h"
#include "protocol/commands.h"

namespace stampa {
namespace {

// The twelve entry points; only the two byte-wide ones are used.
struct PortIo {
    std::uint8_t (*ReadUchar)(std::uint32_t) = nullptr;
    void (*WriteUchar)(std::uint32_t, std::uint8_t) = nullptr;
};

constexpr const char* const kPortIoNames[] = {
    "DlPortReadPortUchar",        "DlPortReadPortUshort",        "DlPortReadPortUlong",
    "DlPortWritePortUchar",       "DlPortWritePortUshort",       "DlPortWritePortUlong",
    "DlPortReadPortBufferUchar",  "DlPortReadPortBufferUshort",  "DlPortReadPortBufferUlong",
    "DlPortWritePortBufferUchar", "DlPortWritePortBufferUshort", "DlPortWritePortBufferUlong"};

constexpr char kServiceName[] = "DLPortIO";

struct State {
    bool isNt = false;
    std::string driverDirectory;
    ServiceHandle manager = 0;
    bool alreadyInstalled = false;
    bool alreadyRunning = false;
    std::unique_ptr<LoadedLibrary> library;
    PortIo io;
    bool driverLoaded = false;
    std::uint16_t base = 0;
    std::string lastError;
};

// The platform's family and service manager, as the program starts with them.
State StartState() {
    State s;
    s.isNt = PlatformIsNtFamily();
    return s;
}

std::recursive_mutex stateMutex;
State state = StartState();
IServiceControl* services = SystemServiceControl();
ParallelClock clock = DefaultParallelClock();
std::string portIoFile = kPortIoLibraryFile;

std::string ErrorText(const char* step, int code) {
    return std::string(step) + ": Error #" + std::to_string(code);
}

// The port I/O library with all twelve names, or nothing.
bool LoadPortIo() {
    auto library = LoadedLibrary::Load(portIoFile);
    if (!library)
        return false;
    for (const char* name : kPortIoNames) {
        if (library->Symbol(name) == nullptr)
            return false;
    }
    state.io.ReadUchar =
        reinterpret_cast<std::uint8_t (*)(std::uint32_t)>(library->Symbol("DlPortReadPortUchar"));
    state.io.WriteUchar = reinterpret_cast<void (*)(std::uint32_t, std::uint8_t)>(
        library->Symbol("DlPortWritePortUchar"));
    state.library = std::move(library);
    return true;
}

// The link of the token: bytes go to the port registers.
class ParallelTransport final : public Transport {
  public:
    PortKindValue Kind() const override { return kParallelLink; }
    bool Closed() const override { return closed_; }  // never waits
    int Write(const unsigned char* bytes, int length) override {
        try {
            return ParallelWrite(bytes, length) == length ? 1 : 0;
        } catch (...) {
            return 0;  // a fault raised during the port I/O is a failed write
        }
    }
    int Close() override {
        ParallelShutdown();
        closed_ = true;
        return 1;
    }

  private:
    std::atomic<bool> closed_{false};  // Write and Close are serialised by the port's own lock
};

}  // namespace

ParallelClock DefaultParallelClock() {
    ParallelClock c;
    c.nowMs = [] {
        return std::chrono::duration_cast<std::chrono::milliseconds>(
                   std::chrono::steady_clock::now().time_since_epoch())
            .count();
    };
    c.pause = [] { std::this_thread::sleep_for(std::chrono::microseconds(200)); };
    return c;
}

void SetPlatformIsNt(bool isNt) {
    std::lock_guard lock(stateMutex);
    state.isNt = isNt;
}
void SetServiceControl(IServiceControl* control) {
    std::lock_guard lock(stateMutex);
    services = control;
}
void SetPortIoLibraryFile(const std::string& fileName) {
    std::lock_guard lock(stateMutex);
    portIoFile = fileName;
}
void SetParallelClock(const ParallelClock& c) {
    std::lock_guard lock(stateMutex);
    clock = c;
}

bool PortDriverLoaded() {
    std::lock_guard lock(stateMutex);
    return state.driverLoaded;
}
std::string DriverLastError() {
    std::lock_guard lock(stateMutex);
    return state.lastError;
}
std::uint16_t ParallelBaseAddress() {
    std::lock_guard lock(stateMutex);
    return state.base;
}

int ConnectSCM() {
    int error = 0;
    state.manager = services->OpenManager(0x17, error);  // connect, create, enumerate, lock status
    if (state.manager == 0 && error == kErrorAccessDenied) {
        state.manager = services->OpenManager(0x15, error);  // the same without create
    }
    if (state.manager == 0) {
        state.lastError = ErrorText("ConnectSCM", error);
        return 0;
    }
    return 1;
}

int DriverInstall() {
    state.alreadyInstalled = false;
    int error = 0;
    if (ServiceHandle s = services->OpenService(state.manager, kServiceName, 4, error)) {
        state.alreadyInstalled = true;
        services->CloseHandle(s);
        return 1;
    }
    ServiceParameters p;
    p.name = kServiceName;
    p.displayName = "DriverLINX Port I/O Driver";
    p.access = 0x10034;  // delete, start, stop, query status
    p.serviceType = 1;
    p.startType = 3;
    p.errorControl = 1;
    p.binaryPath = state.driverDirectory + "\\" + kServiceName + ".SYS";
    p.loadOrderGroup = "SST miniport drivers";
    const ServiceHandle created = services->CreateService(state.manager, p, error);
    if (created == 0) {
        state.lastError = ErrorText("DriverInstall", error);
        return 0;
    }
    services->CloseHandle(created);
    return 1;
}

int DriverStart() {
    state.alreadyRunning = false;
    int error = 0;
    int code = 0;
    int serviceState = 0;
    const ServiceHandle s = services->OpenService(state.manager, kServiceName, 4, error);
    if (s == 0 || !services->QueryState(s, serviceState, error)) {
        code = error;
    } else if (serviceState == kServiceRunning) {
        state.alreadyRunning = true;
    } else if (serviceState == kServiceStopped) {
        const ServiceHandle startable =
            services->OpenService(state.manager, kServiceName, 0x10, error);
        code = (startable != 0 && services->Start(startable, error)) ? 0 : error;
        if (startable != 0)
            services->CloseHandle(startable);
    } else {
        code = -1;
    }
    if (s != 0)
        services->CloseHandle(s);
    if (code != 0) {
        state.lastError = ErrorText("DriverStart", code);
        return 0;
    }
    return 1;
}

int DriverStop() {
    if (state.alreadyRunning)
        return 1;
    int error = 0;
    const ServiceHandle s = services->OpenService(state.manager, kServiceName, 0x24, error);
    const int code = (s != 0 && services->Stop(s, error)) ? 0 : error;
    if (s != 0)
        services->CloseHandle(s);
    if (code != 0) {
        state.lastError = ErrorText("DriverStop", code);
        return 0;
    }
    return 1;
}

int DriverRemove() {
    if (state.alreadyInstalled)
        return 1;
    int error = 0;
    const ServiceHandle s = services->OpenService(state.manager, kServiceName, 0x10000, error);
    const int code = (s != 0 && services->Delete(s, error)) ? 0 : error;
    if (s != 0)
        services->CloseHandle(s);
    if (code != 0) {
        state.lastError = ErrorText("DriverRemove", code);
        return 0;
    }
    return 1;
}

int CloseSCM() {
    const bool closed = state.manager == 0 || services->CloseHandle(state.manager);
    state.manager = 0;
    return closed ? 1 : 0;
}

int DriverFilesCheck() {
    std::lock_guard lock(stateMutex);
    if (!state.isNt || services == nullptr)
        return 1;
    RegistryKey key(*services);
    if (!key.Open("HKEY_LOCAL_MACHINE", "SYSTEM\\CurrentControlSet\\Services\\DLPortIO"))
        return 1;
    std::string value;
    if (!key.Query("ImagePath", value))
        value.clear();
    // The service manager puts a four-character prefix before a path with a drive letter.
    const std::string driverFile = value.size() > 4 ? value.substr(4) : std::string();
    if (!driverFile.empty() && services->CanOpenFile(driverFile))
        return 1;
    // Repair: both files from the working directory into the registered folder.
    const std::string cwd = std::filesystem::current_path().string();
    const std::string target =
        value.size() > 16 ? value.substr(4, value.size() - 4 - 12) : std::string();
    for (std::size_t at = target.find('\\', 1); at != std::string::npos;
         at = target.find('\\', at + 1)) {
        services->CreateDirectory(target.substr(0, at));
    }
    if (!services->CopyFile(cwd + "\\DLPortIO.DLL", target + "DLPortIO.DLL"))
        return 0;
    if (!services->CopyFile(cwd + "\\DLPortIO.SYS", target + "DLPortIO.SYS"))
        return 0;
    return 1;
}

void ParallelShutdown() {
    std::lock_guard lock(stateMutex);
    if (!state.driverLoaded)
        return;
    if (state.isNt && services != nullptr) {
        if (!DriverStop())
            return;
        if (!DriverRemove())
            return;
        CloseSCM();
    }
    state.library.reset();
    state.io = PortIo{};
    state.driverLoaded = false;
}

void ParallelOpen(std::uint16_t base) {
    std::lock_guard lock(stateMutex);
    if (state.driverLoaded)
        ParallelShutdown();
    std::error_code error;
    state.driverDirectory = std::filesystem::current_path(error).string();
    state.base = base;
    state.lastError.clear();
    if (state.driverLoaded)
        return;  // could not shut down: the loaded driver serves the new base
    const bool nt = state.isNt && services != nullptr;
    if (nt) {
        if (!ConnectSCM())
            return;
        if (!DriverInstall()) {
            CloseSCM();
            return;
        }
        if (!DriverStart()) {
            DriverRemove();
            CloseSCM();
            return;
        }
    }
    if (LoadPortIo()) {
        state.driverLoaded = true;
        return;
    }
    if (nt) {
        DriverStop();
        DriverRemove();
        CloseSCM();
    }
    state.library.reset();
}

int ParallelSendByte(unsigned char byte) {
    const std::uint32_t base = state.base;
    const std::int64_t start = clock.nowMs();
    for (;;) {
        const std::uint8_t status = state.io.ReadUchar(base + 1);
        const bool busy = (status & 0x80) == 0;  // the port inverts BUSY
        const bool paperEnd = (status & 0x20) != 0;
        if (!busy && !paperEnd)
            break;
        if (clock.nowMs() - start > clock.busyLimitMs)
            return 0;
        clock.pause();
    }
    state.io.WriteUchar(base, byte);
    state.io.WriteUchar(base + 2, 0x0D);  // STROBE active, INIT inactive, SELECT IN active
    state.io.WriteUchar(base + 2, 0x0C);  // STROBE inactive again
    state.io.ReadUchar(base + 1);
    return 1;
}

int ParallelWrite(const unsigned char* bytes, int length) {
    std::lock_guard lock(stateMutex);
    if (!state.driverLoaded)
        return 0;
    for (int i = 0; i < length; ++i) {
        if (!ParallelSendByte(bytes[i])) {
            // The printer kept BUSY or PAPER END up for the whole wait.
            NoteLinkError(LinkStep::Write, ETIMEDOUT, FormatText("0x%03X", state.base));
            return 0;  // bytes strobed out stay sent
        }
    }
    return length;
}

PortHandleValue ParallelPortOpen(const std::string& name) {
    DriverFilesCheck();
    const char port = name.size() > 3 ? name[3] : '\0';
    if (port == '1') {
        ParallelOpen(0x378);
    } else if (port == '2') {
        ParallelOpen(0x278);
    } else if (port == '3') {
        ParallelOpen(0x3BC);
    } else {
        NoteLinkError(LinkStep::Open, ENODEV, name);
        return kNoHandle;  // no address for this port: its link test fails
    }
    RegisterConnection(kParallelToken, std::make_shared<ParallelTransport>());
    if (SendLineFeed(kParallelToken) == 0) {
        UnregisterConnection(kParallelToken);  // the driver stays loaded until PortClose
        return kNoHandle;
    }
    return kParallelToken;
}

void ResetParallelState() {
    std::lock_guard lock(stateMutex);
    state = StartState();
    services = SystemServiceControl();
    clock = DefaultParallelClock();
    portIoFile = kPortIoLibraryFile;
}

}  // namespace stampa
