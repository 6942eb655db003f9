// The serial link on Linux: a COM port over termios.
#include "link/serial/serial_link.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <mutex>
#include <thread>

#include "link/fd_read.h"
#include "link/link_error.h"
#include "link/port.h"
#include "link/serial/serial_port.h"
#include "link/serial/serial_termios.h"
#include "link/transport.h"

namespace stampa {
namespace {

using Clock = std::chrono::steady_clock;

// An open COM port. Each byte's write is gated by poll() with the byte's time-out.
class SerialTransport final : public SerialPort {
  public:
    SerialTransport(int fd, bool dsrFlow, std::string device)
        : fd_(fd), dsrFlow_(dsrFlow), device_(std::move(device)) {}
    ~SerialTransport() override { Close(); }

    bool Closed() const override { return closed_; }

    void SetTimeouts(const CommTimeouts& t) override {
        std::lock_guard lock(mutex_);
        timeouts_ = t;
    }

    int Write(const unsigned char* bytes, int length) override {
        std::lock_guard lock(mutex_);
        if (closed_) {
            return 0;
        }
        for (int i = 0; i < length; ++i) {
            if (const int error = WriteByte(bytes[i]); error != 0) {
                NoteError(LinkStep::Write, error, device_);
                return 0;  // bytes already written stay written
            }
        }
        return 1;
    }

    int Close() override {
        std::lock_guard lock(mutex_);
        if (closed_) {
            return 1;
        }
        const int result = ::close(fd_);  // also releases the flock
        fd_ = -1;
        closed_ = true;
        return result == 0 ? 1 : 0;
    }

    int Read(unsigned char* buffer, int max, int timeoutMs) override {
        std::lock_guard lock(mutex_);
        return closed_ ? -1 : ReadWithin(fd_, buffer, max, timeoutMs);
    }

    bool InputArrives(std::chrono::milliseconds wait) override {
        std::lock_guard lock(mutex_);
        const auto deadline = Clock::now() + wait;
        while (!closed_) {
            int queued = 0;
            if (::ioctl(fd_, FIONREAD, &queued) == 0 && queued > 0) {
                return true;
            }
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
            if (left.count() <= 0) {
                return false;
            }
            pollfd p{fd_, POLLIN, 0};
            if (::poll(&p, 1, static_cast<int>(left.count())) < 0 && errno != EINTR) {
                return false;
            }
            if (p.revents & (POLLHUP | POLLERR)) {
                std::this_thread::sleep_for(std::chrono::milliseconds(5));  // no partner yet
            }
        }
        return false;
    }

  private:
    // Waits, within the deadline, until the printer raises DSR. A port without
    // modem lines (a pseudo-terminal) answers TIOCMGET with an error: no wait.
    bool WaitForDsr(Clock::time_point deadline) const {
        for (;;) {
            int lines = 0;
            if (::ioctl(fd_, TIOCMGET, &lines) != 0 || (lines & TIOCM_DSR)) {
                return true;
            }
            if (Clock::now() >= deadline) {
                return false;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    }

    // 0 when the byte went out; else the reason (ETIMEDOUT when it could not
    // go within its time-out).
    int WriteByte(unsigned char byte) {
        const auto deadline = Clock::now() + std::chrono::milliseconds(timeouts_.ByteTimeoutMs());
        if (dsrFlow_ && !WaitForDsr(deadline)) {
            return ETIMEDOUT;
        }
        for (;;) {
            const ssize_t n = ::write(fd_, &byte, 1);
            if (n == 1) {
                return 0;
            }
            if (n < 0 && errno != EAGAIN && errno != EINTR) {
                return errno;
            }
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
            if (left.count() <= 0) {
                return ETIMEDOUT;
            }
            pollfd p{fd_, POLLOUT, 0};
            if (::poll(&p, 1, static_cast<int>(left.count())) < 0 && errno != EINTR) {
                return errno;
            }
        }
    }

    std::mutex mutex_;
    int fd_;
    std::atomic<bool> closed_{false};
    bool dsrFlow_;
    std::string device_;
    CommTimeouts timeouts_ = LinkTestTimeouts();
};

// Sets the raised or lowered state of the DTR and RTS lines; ports without
// modem lines ignore it.
void SetModemLines(int fd, const Dcb& dcb) {
    int dtr = TIOCM_DTR;
    int rts = TIOCM_RTS;
    ::ioctl(fd, dcb.fDtrControl == kControlDisable ? TIOCMBIC : TIOCMBIS, &dtr);
    if (!dcb.fOutxCtsFlow) {  // with RTS/CTS the driver drives RTS itself
        ::ioctl(fd, dcb.fRtsControl == kControlDisable ? TIOCMBIC : TIOCMBIS, &rts);
    }
}

bool ConfigurePort(int fd, int baud, int dataBits, int stopBits, int parity, int flowMode,
                   Dcb& dcb) {
    termios t{};
    if (::tcgetattr(fd, &t) != 0) {
        return false;
    }
    Dcb reported;
    reported.XonChar = static_cast<char>(t.c_cc[VSTART]);
    reported.XoffChar = static_cast<char>(t.c_cc[VSTOP]);
    dcb = BuildDcb(reported, baud, dataBits, stopBits, parity, flowMode);
    if (!ApplyDcb(dcb, t) || ::tcsetattr(fd, TCSANOW, &t) != 0) {
        return false;
    }
    SetModemLines(fd, dcb);
    return true;
}

}  // namespace

std::string SerialPortsFolder() {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    std::string base;
    if (config != nullptr && *config != '\0') {
        base = config;
    } else {
        const char* home = std::getenv("HOME");
        base = std::string(home != nullptr ? home : "") + "/.config";
    }
    return base + "/stampa/ports";
}

std::string SerialDevicePath(const std::string& name) {
    const int n = ComNumber(name);
    if (n == 0) {
        return name;
    }
    const std::string link = SerialPortsFolder() + "/com" + std::to_string(n);
    std::error_code error;
    if (std::filesystem::exists(std::filesystem::symlink_status(link, error))) {
        return link;
    }
    return "/dev/ttyS" + std::to_string(n - 1);
}

std::vector<std::pair<std::string, std::string>> SerialPortMap() {
    std::vector<std::pair<std::string, std::string>> map;
    for (int n = 1; n <= 8; ++n) {
        const std::string name = "COM" + std::to_string(n);
        std::string device = SerialDevicePath(name);
        std::error_code error;
        const auto target = std::filesystem::read_symlink(device, error);
        if (!error)
            device += " -> " + target.string();
        map.emplace_back(name, device);
    }
    return map;
}

PortHandleValue OpenSerialPort(const std::string& name, bool comPort, int baud, int dataBits,
                               int stopBits, int parity, int flowMode,
                               const CommTimeouts& linkTestTimeouts, LinkError* why) {
    const std::string device = SerialDevicePath(name);
    const int fd = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        NoteLinkError(why, LinkStep::Open, errno, device);
        return kNoHandle;
    }
    // Exclusive: a port another program holds fails here.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        NoteLinkError(why, LinkStep::Lock, errno, device);
        ::close(fd);
        return kNoHandle;
    }
    ::ioctl(fd, TIOCEXCL);
    Dcb dcb;
    if (comPort && !ConfigurePort(fd, baud, dataBits, stopBits, parity, flowMode, dcb)) {
        NoteLinkError(why, LinkStep::Configure, errno, device);
        ::close(fd);
        return kNoHandle;
    }
    auto transport = std::make_shared<SerialTransport>(fd, comPort && dcb.fOutxDsrFlow, device);
    transport->SetTimeouts(linkTestTimeouts);
    if (comPort) {
        ::tcflush(fd, TCIOFLUSH);  // discard both queues; the result does not matter
    }
    const PortHandleValue handle = fd;
    RegisterConnection(handle, transport);
    return handle;
}

}  // namespace stampa
