// The serial link on Windows: a COM port through the Win32 communications
// functions. The driver does the flow control the device control block asks
// for (DTR/DSR included) and keeps the write time-outs.
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <memory>
#include <mutex>
#include <thread>

#include "link/link_error.h"
#include "link/port.h"
#include "link/serial/serial_link.h"
#include "link/serial/serial_port.h"
#include "link/serial/serial_win32_dcb.h"
#include "link/win32_error.h"

namespace stampa {
namespace {

using Clock = std::chrono::steady_clock;

class SerialTransport final : public SerialPort {
  public:
    SerialTransport(HANDLE port, std::string device) : port_(port), device_(std::move(device)) {}
    ~SerialTransport() override { Close(); }

    bool Closed() const override { return closed_; }

    void SetTimeouts(const CommTimeouts& t) override {
        std::lock_guard lock(mutex_);
        timeouts_ = t;
        if (!closed_) {
            COMMTIMEOUTS c = ToWin32Timeouts(t);
            SetCommTimeouts(port_, &c);  // a plain file has none: writes then never wait
        }
    }

    int Write(const unsigned char* bytes, int length) override {
        std::lock_guard lock(mutex_);
        if (closed_) {
            return 0;
        }
        for (int i = 0; i < length; ++i) {
            DWORD written = 0;
            if (!WriteFile(port_, bytes + i, 1, &written, nullptr)) {
                NoteError(WindowsLinkError(LinkStep::Write, GetLastError(), device_));
                return 0;  // bytes already written stay written
            }
            if (written != 1) {
                NoteError(LinkStep::Write, ETIMEDOUT, device_);  // the byte's time-out passed
                return 0;
            }
        }
        return 1;
    }

    int Close() override {
        std::lock_guard lock(mutex_);
        if (closed_) {
            return 1;
        }
        const BOOL ok = CloseHandle(port_);
        closed_ = true;
        return ok ? 1 : 0;
    }

    int Read(unsigned char* buffer, int max, int timeoutMs) override {
        std::lock_guard lock(mutex_);
        if (closed_) {
            return -1;
        }
        // For this read: what is queued at once, else wait up to timeoutMs for one byte.
        CommTimeouts wait = timeouts_;
        wait.ReadIntervalTimeout = MAXDWORD;
        wait.ReadTotalTimeoutMultiplier = MAXDWORD;
        wait.ReadTotalTimeoutConstant = static_cast<std::uint32_t>(std::max(timeoutMs, 1));
        COMMTIMEOUTS c = ToWin32Timeouts(wait);
        SetCommTimeouts(port_, &c);
        DWORD got = 0;
        const BOOL ok = ReadFile(port_, buffer, static_cast<DWORD>(max), &got, nullptr);
        c = ToWin32Timeouts(timeouts_);
        SetCommTimeouts(port_, &c);
        return ok ? static_cast<int>(got) : -1;
    }

    bool InputArrives(std::chrono::milliseconds wait) override {
        std::lock_guard lock(mutex_);
        const auto deadline = Clock::now() + wait;
        while (!closed_) {
            DWORD errors = 0;
            COMSTAT status{};
            if (!ClearCommError(port_, &errors, &status)) {
                return false;
            }
            if (status.cbInQue > 0) {
                return true;
            }
            if (Clock::now() >= deadline) {
                return false;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return false;
    }

  private:
    std::mutex mutex_;
    HANDLE port_;
    std::string device_;
    std::atomic<bool> closed_{false};
    CommTimeouts timeouts_ = LinkTestTimeouts();
};

// Line, flow control, modem lines; false with the reason noted.
bool ConfigurePort(HANDLE port, const std::string& device, int baud, int dataBits, int stopBits,
                   int parity, int flowMode, LinkError* why) {
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    if (!GetCommState(port, &dcb)) {
        NoteWindowsLinkError(why, LinkStep::Configure, GetLastError(), device);
        return false;
    }
    const Dcb block = BuildDcb(ReportedDcb(dcb), baud, dataBits, stopBits, parity, flowMode);
    ApplyDcb(block, dcb);
    if (!SetCommState(port, &dcb)) {
        NoteWindowsLinkError(why, LinkStep::Configure, GetLastError(), device);
        return false;
    }
    // The lines the block leaves to the program; a port without them ignores it.
    EscapeCommFunction(port, block.fDtrControl == kControlDisable ? CLRDTR : SETDTR);
    if (!block.fOutxCtsFlow) {  // with RTS/CTS the driver drives RTS itself
        EscapeCommFunction(port, block.fRtsControl == kControlDisable ? CLRRTS : SETRTS);
    }
    return true;
}

}  // namespace

std::string SerialPortsFolder() {
    return {};  // Windows names its ports itself
}

std::string SerialDevicePath(const std::string& name) {
    const int n = ComNumber(name);
    return n == 0 ? name : "\\\\.\\COM" + std::to_string(n);
}

std::vector<std::pair<std::string, std::string>> SerialPortMap() {
    std::vector<std::pair<std::string, std::string>> map;
    for (int n = 1; n <= 8; ++n) {
        const std::string name = "COM" + std::to_string(n);
        std::string device = SerialDevicePath(name);
        char target[512];
        if (QueryDosDeviceA(name.c_str(), target, sizeof target) != 0) {
            device += std::string(" -> ") + target;
        }
        map.emplace_back(name, device);
    }
    return map;
}

PortHandleValue OpenSerialPort(const std::string& name, bool comPort, int baud, int dataBits,
                               int stopBits, int parity, int flowMode,
                               const CommTimeouts& linkTestTimeouts, LinkError* why) {
    const std::string device = SerialDevicePath(name);
    // Not shared: a port another program holds fails here.
    const HANDLE port = CreateFileA(device.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (port == INVALID_HANDLE_VALUE) {
        const DWORD code = GetLastError();
        // A COM port that another program has open answers "access denied".
        if (comPort && code == ERROR_ACCESS_DENIED) {
            NoteLinkError(why, LinkStep::Lock, EBUSY, device);
        } else {
            NoteWindowsLinkError(why, LinkStep::Open, code, device);
        }
        return kNoHandle;
    }
    if (comPort && !ConfigurePort(port, device, baud, dataBits, stopBits, parity, flowMode, why)) {
        CloseHandle(port);
        return kNoHandle;
    }
    auto transport = std::make_shared<SerialTransport>(port, device);
    transport->SetTimeouts(linkTestTimeouts);
    if (comPort) {
        PurgeComm(port, PURGE_RXCLEAR | PURGE_TXCLEAR | PURGE_RXABORT | PURGE_TXABORT);
    }
    return RegisterNewConnection(transport);
}

}  // namespace stampa
