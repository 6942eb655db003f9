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

constexpr const char* const kPortIoNames[] = {
    "DlPortReadPortUchar",        "DlPortReadPortUshort",        "DlPortReadPortUlong",
    "DlPortWritePortUchar",       "DlPortWritePortUshort",       "DlPortWritePortUlong",
    "DlPortReadPortBufferUchar",  "DlPortReadPortBufferUshort",  "DlPortReadPortBufferUlong",
    "DlPortWritePortBufferUchar", "DlPortWritePortBufferUshort", "DlPortWritePortBufferUlong"};

constexpr char kServiceName[] = "DLPortIO";

std::string ErrorText(const char* step, int code) {
    return std::string(step) + ": Error #" + std::to_string(code);
}

// The link of the token: bytes go to the port registers through its driver.
class ParallelTransport final : public Transport {
  public:
    explicit ParallelTransport(std::shared_ptr<ParallelDriver> driver)
        : driver_(std::move(driver)) {}
    PortKindValue Kind() const override { return kParallelLink; }
    bool Closed() const override { return closed_ || testFailed_; }  // never waits
    int Write(const unsigned char* bytes, int length) override {
        if (Closed())
            return 0;
        try {
            LinkError why;
            if (driver_->ParallelWrite(bytes, length, &why) == length)
                return 1;
            NoteError(why);
            return 0;
        } catch (...) {
            return 0;  // a fault raised during the port I/O is a failed write
        }
    }
    int Close() override {
        driver_->ParallelShutdown();
        closed_ = true;
        return 1;
    }
    // The link test failed: nothing more is written, the driver stays loaded.
    void TestFailed() { testFailed_ = true; }
    const std::shared_ptr<ParallelDriver>& Driver() const { return driver_; }

  private:
    std::shared_ptr<ParallelDriver> driver_;
    std::atomic<bool> closed_{false};  // Write and Close are serialised by the driver's lock
    std::atomic<bool> testFailed_{false};
};

// The address of "LPTn", 0 for a port without one.
std::uint16_t ParallelBase(const std::string& name) {
    switch (name.size() > 3 ? name[3] : '\0') {
        case '1':
            return 0x378;
        case '2':
            return 0x278;
        case '3':
            return 0x3BC;
        default:
            return 0;
    }
}

}  // namespace

ParallelDriver::ParallelDriver(ParallelSettings settings) : settings_(std::move(settings)) {}

ParallelDriver::~ParallelDriver() {
    ParallelShutdown();
}

// The port I/O library with all twelve names, or nothing.
bool ParallelDriver::LoadPortIo() {
    auto library = LoadedLibrary::Load(settings_.portIoLibrary);
    if (!library)
        return false;
    for (const char* name : kPortIoNames) {
        if (library->Symbol(name) == nullptr)
            return false;
    }
    io_.ReadUchar =
        reinterpret_cast<std::uint8_t (*)(std::uint32_t)>(library->Symbol("DlPortReadPortUchar"));
    io_.WriteUchar = reinterpret_cast<void (*)(std::uint32_t, std::uint8_t)>(
        library->Symbol("DlPortWritePortUchar"));
    library_ = std::move(library);
    return true;
}

bool ParallelDriver::PortDriverLoaded() const {
    std::lock_guard lock(mutex_);
    return driverLoaded_;
}
std::string ParallelDriver::DriverLastError() const {
    std::lock_guard lock(mutex_);
    return lastError_;
}
std::uint16_t ParallelDriver::ParallelBaseAddress() const {
    std::lock_guard lock(mutex_);
    return base_;
}

int ParallelDriver::ConnectSCM() {
    int error = 0;
    manager_ =
        settings_.services->OpenManager(0x17, error);  // connect, create, enumerate, lock status
    if (manager_ == 0 && error == kErrorAccessDenied) {
        manager_ = settings_.services->OpenManager(0x15, error);  // the same without create
    }
    if (manager_ == 0) {
        lastError_ = ErrorText("ConnectSCM", error);
        return 0;
    }
    return 1;
}

int ParallelDriver::DriverInstall() {
    alreadyInstalled_ = false;
    int error = 0;
    if (ServiceHandle s = settings_.services->OpenService(manager_, kServiceName, 4, error)) {
        alreadyInstalled_ = true;
        settings_.services->CloseHandle(s);
        return 1;
    }
    ServiceParameters p;
    p.name = kServiceName;
    p.displayName = "DriverLINX Port I/O Driver";
    p.access = 0x10034;  // delete, start, stop, query status
    p.serviceType = 1;
    p.startType = 3;
    p.errorControl = 1;
    p.binaryPath = driverDirectory_ + "\\" + kServiceName + ".SYS";
    p.loadOrderGroup = "SST miniport drivers";
    const ServiceHandle created = settings_.services->CreateService(manager_, p, error);
    if (created == 0) {
        lastError_ = ErrorText("DriverInstall", error);
        return 0;
    }
    settings_.services->CloseHandle(created);
    return 1;
}

int ParallelDriver::DriverStart() {
    alreadyRunning_ = false;
    int error = 0;
    int code = 0;
    int serviceState = 0;
    const ServiceHandle s = settings_.services->OpenService(manager_, kServiceName, 4, error);
    if (s == 0 || !settings_.services->QueryState(s, serviceState, error)) {
        code = error;
    } else if (serviceState == kServiceRunning) {
        alreadyRunning_ = true;
    } else if (serviceState == kServiceStopped) {
        const ServiceHandle startable =
            settings_.services->OpenService(manager_, kServiceName, 0x10, error);
        code = (startable != 0 && settings_.services->Start(startable, error)) ? 0 : error;
        if (startable != 0)
            settings_.services->CloseHandle(startable);
    } else {
        code = -1;
    }
    if (s != 0)
        settings_.services->CloseHandle(s);
    if (code != 0) {
        lastError_ = ErrorText("DriverStart", code);
        return 0;
    }
    return 1;
}

int ParallelDriver::DriverStop() {
    if (alreadyRunning_)
        return 1;
    int error = 0;
    const ServiceHandle s = settings_.services->OpenService(manager_, kServiceName, 0x24, error);
    const int code = (s != 0 && settings_.services->Stop(s, error)) ? 0 : error;
    if (s != 0)
        settings_.services->CloseHandle(s);
    if (code != 0) {
        lastError_ = ErrorText("DriverStop", code);
        return 0;
    }
    return 1;
}

int ParallelDriver::DriverRemove() {
    if (alreadyInstalled_)
        return 1;
    int error = 0;
    const ServiceHandle s = settings_.services->OpenService(manager_, kServiceName, 0x10000, error);
    const int code = (s != 0 && settings_.services->Delete(s, error)) ? 0 : error;
    if (s != 0)
        settings_.services->CloseHandle(s);
    if (code != 0) {
        lastError_ = ErrorText("DriverRemove", code);
        return 0;
    }
    return 1;
}

int ParallelDriver::CloseSCM() {
    const bool closed = manager_ == 0 || settings_.services->CloseHandle(manager_);
    manager_ = 0;
    return closed ? 1 : 0;
}

int ParallelDriver::DriverFilesCheck() {
    std::lock_guard lock(mutex_);
    if (!settings_.isNt || settings_.services == nullptr)
        return 1;
    RegistryKey key(*settings_.services);
    if (!key.Open("HKEY_LOCAL_MACHINE", "SYSTEM\\CurrentControlSet\\Services\\DLPortIO"))
        return 1;
    std::string value;
    if (!key.Query("ImagePath", value))
        value.clear();
    // The service manager puts a four-character prefix before a path with a drive letter.
    const std::string driverFile = value.size() > 4 ? value.substr(4) : std::string();
    if (!driverFile.empty() && settings_.services->CanOpenFile(driverFile))
        return 1;
    // Repair: both files from the working directory into the registered folder.
    const std::string cwd = std::filesystem::current_path().string();
    const std::string target =
        value.size() > 16 ? value.substr(4, value.size() - 4 - 12) : std::string();
    for (std::size_t at = target.find('\\', 1); at != std::string::npos;
         at = target.find('\\', at + 1)) {
        settings_.services->CreateDirectory(target.substr(0, at));
    }
    if (!settings_.services->CopyFile(cwd + "\\DLPortIO.DLL", target + "DLPortIO.DLL"))
        return 0;
    if (!settings_.services->CopyFile(cwd + "\\DLPortIO.SYS", target + "DLPortIO.SYS"))
        return 0;
    return 1;
}

void ParallelDriver::ParallelShutdown() {
    std::lock_guard lock(mutex_);
    if (!driverLoaded_)
        return;
    if (settings_.isNt && settings_.services != nullptr) {
        if (!DriverStop())
            return;
        if (!DriverRemove())
            return;
        CloseSCM();
    }
    library_.reset();
    io_ = PortIoEntries{};
    driverLoaded_ = false;
}

void ParallelDriver::ParallelOpen(std::uint16_t base) {
    std::lock_guard lock(mutex_);
    if (driverLoaded_)
        ParallelShutdown();
    std::error_code error;
    driverDirectory_ = std::filesystem::current_path(error).string();
    base_ = base;
    lastError_.clear();
    if (driverLoaded_)
        return;  // could not shut down: the loaded driver serves the new base
    const bool nt = settings_.isNt && settings_.services != nullptr;
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
        driverLoaded_ = true;
        return;
    }
    if (nt) {
        DriverStop();
        DriverRemove();
        CloseSCM();
    }
    library_.reset();
}

int ParallelDriver::ParallelSendByte(unsigned char byte) {
    const std::uint32_t base = base_;
    const std::int64_t start = settings_.clock.nowMs();
    for (;;) {
        const std::uint8_t status = io_.ReadUchar(base + 1);
        const bool busy = (status & 0x80) == 0;  // the port inverts BUSY
        const bool paperEnd = (status & 0x20) != 0;
        if (!busy && !paperEnd)
            break;
        if (settings_.clock.nowMs() - start > settings_.clock.busyLimitMs)
            return 0;
        settings_.clock.pause();
    }
    io_.WriteUchar(base, byte);
    io_.WriteUchar(base + 2, 0x0D);  // STROBE active, INIT inactive, SELECT IN active
    io_.WriteUchar(base + 2, 0x0C);  // STROBE inactive again
    io_.ReadUchar(base + 1);
    return 1;
}

int ParallelDriver::ParallelWrite(const unsigned char* bytes, int length, LinkError* why) {
    std::lock_guard lock(mutex_);
    if (!driverLoaded_)
        return 0;
    for (int i = 0; i < length; ++i) {
        if (!ParallelSendByte(bytes[i])) {
            // The printer kept BUSY or PAPER END up for the whole wait.
            NoteLinkError(why, LinkStep::Write, ETIMEDOUT, FormatText("0x%03X", base_));
            return 0;  // bytes strobed out stay sent
        }
    }
    return length;
}

PortHandleValue ParallelPortOpen(const std::string& name, const ParallelSettings& settings,
                                 LinkError* why) {
    const std::uint16_t base = ParallelBase(name);
    if (base == 0) {
        NoteLinkError(why, LinkStep::Open, ENODEV, name);
        return kNoHandle;  // no address for this port: its link test fails
    }
    PortClose(kParallelToken);  // one port I/O driver at a time: the previous one goes first
    auto driver = std::make_shared<ParallelDriver>(settings);
    driver->DriverFilesCheck();
    driver->ParallelOpen(base);
    auto link = std::make_shared<ParallelTransport>(driver);
    RegisterConnection(kParallelToken, link);
    if (SendLineFeed(kParallelToken) == 0) {
        const LinkError failure = link->LastError();
        if (failure.step != LinkStep::None)
            NoteLinkError(why, failure.step, failure.osError, failure.device, failure.detail);
        else
            NoteLinkError(why, LinkStep::Test, 0, name, driver->DriverLastError());
        link->TestFailed();  // stays registered: its driver stays loaded until PortClose
        return kNoHandle;
    }
    return kParallelToken;
}

std::shared_ptr<ParallelDriver> OpenParallelDriver() {
    const auto link = std::dynamic_pointer_cast<ParallelTransport>(FindConnection(kParallelToken));
    return link ? link->Driver() : nullptr;
}

}  // namespace stampa
