// The USB interface library over the Linux USB printer devices.
#include "link/usb/usb_device_file.h"
#include "link/usb/usb_interface.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <mutex>
#include <string>

namespace {

constexpr int kMaxDevices = 8;
constexpr int kSlots = 32;

// A write gives up when the device took no byte for this long: a printer that
// stopped reading must not hold the program for ever. The same limit as the
// parallel link's wait for BUSY; QZUSB_STALL_MS sets another (tests).
constexpr int kStallLimitMs = 5000;

int StallLimitMs() {
    const char* text = std::getenv("QZUSB_STALL_MS");
    const int value = text != nullptr ? std::atoi(text) : 0;
    return value > 0 ? value : kStallLimitMs;
}

// Waits until the device can take bytes again, at most `ms`; false when it
// could not within that time or failed.
bool WaitWritable(int fd, int ms) {
    pollfd p{fd, POLLOUT, 0};
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                              deadline - std::chrono::steady_clock::now())
                              .count();
        const int n = ::poll(&p, 1, static_cast<int>(std::max<long long>(left, 0)));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        // POLLERR or POLLHUP: the next write reports what went wrong.
        return n > 0;
    }
}

// How long uRead waits for the printer's first byte.
constexpr int kReadWaitMs = 100;

// An open device: where bytes go, and where the printer's answers come from
// (the same descriptor for a real device; for a FIFO, the FIFO beside it).
struct Slot {
    int fd = -1;
    int readFd = -1;
};

// Open devices: handle = slot + 1, so a stale or made-up handle never reaches
// a descriptor this library did not open.
std::mutex slotsMutex;
Slot slots[kSlots];

Slot SlotOf(QzHandle handle) {
    std::lock_guard lock(slotsMutex);
    if (handle < 1 || handle > kSlots) {
        return {};
    }
    return slots[handle - 1];
}

int DescriptorOf(QzHandle handle) {
    return SlotOf(handle).fd;
}

// Opens a device: a real printer device both ways; a FIFO (the virtual
// printer) for writing, its answers read from the FIFO "DEVICE.in" when there
// is one. The answer FIFO is opened for reading and writing, so it never
// reports a hang-up between the printer's answers.
Slot OpenSlot(const std::string& path) {
    struct stat info {};
    Slot slot;
    if (::stat(path.c_str(), &info) == 0 && S_ISFIFO(info.st_mode)) {
        // Non-blocking: a FIFO without a reader fails at once (ENXIO) instead
        // of waiting for one.
        slot.fd = ::open(path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
        if (slot.fd >= 0)
            slot.readFd = ::open((path + ".in").c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
        return slot;
    }
    slot.fd = ::open(path.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (slot.fd < 0)  // a device that only takes bytes
        slot.fd = ::open(path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    else
        slot.readFd = ::dup(slot.fd);
    return slot;
}

// Writes with SIGPIPE blocked for this thread; a SIGPIPE raised by a broken
// pipe is taken off the thread's pending set again, so the caller never sees it.
class PipeSignalGuard {
  public:
    PipeSignalGuard() {
        sigemptyset(&pipeSet_);
        sigaddset(&pipeSet_, SIGPIPE);
        sigset_t pending;
        sigpending(&pending);
        alreadyPending_ = sigismember(&pending, SIGPIPE) == 1;
        pthread_sigmask(SIG_BLOCK, &pipeSet_, &saved_);
    }
    ~PipeSignalGuard() {
        const int savedErrno = errno;  // the write's reason outlives the guard
        if (raised_ && !alreadyPending_) {
            const timespec zero{0, 0};
            while (sigtimedwait(&pipeSet_, nullptr, &zero) < 0 && errno == EINTR) {
            }
        }
        pthread_sigmask(SIG_SETMASK, &saved_, nullptr);
        errno = savedErrno;
    }
    void NoteBrokenPipe() { raised_ = true; }

  private:
    sigset_t pipeSet_{};
    sigset_t saved_{};
    bool alreadyPending_ = false;
    bool raised_ = false;
};

}  // namespace

extern "C" {

QzHandle OpenDeviceX(int device) {
    if (device < 0 || device >= kMaxDevices) {
        return 0;
    }
    // Writes wait for the device with poll, within the stall limit.
    const Slot slot = OpenSlot(stampa::UsbDeviceFile(device));
    if (slot.fd < 0) {
        return 0;
    }
    std::lock_guard lock(slotsMutex);
    for (int i = 0; i < kSlots; ++i) {
        if (slots[i].fd < 0) {
            slots[i] = slot;
            return i + 1;
        }
    }
    ::close(slot.fd);
    if (slot.readFd >= 0)
        ::close(slot.readFd);
    return 0;
}

int CloseDevice(QzHandle handle) {
    Slot slot;
    {
        std::lock_guard lock(slotsMutex);
        if (handle < 1 || handle > kSlots || slots[handle - 1].fd < 0) {
            return 0;
        }
        slot = slots[handle - 1];
        slots[handle - 1] = Slot{};
    }
    ::close(slot.fd);
    if (slot.readFd >= 0)
        ::close(slot.readFd);
    return 1;
}

int uWrite(QzHandle handle, int /*pipe*/, const void* bytes, int count) {
    const int fd = DescriptorOf(handle);
    if (fd < 0 || bytes == nullptr || count <= 0) {
        return 0;
    }
    PipeSignalGuard guard;
    const auto* p = static_cast<const unsigned char*>(bytes);
    const int stallLimit = StallLimitMs();
    int written = 0;
    while (written < count) {
        const ssize_t n = ::write(fd, p + written, static_cast<size_t>(count - written));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            if (WaitWritable(fd, stallLimit)) {
                continue;
            }
            errno = ETIMEDOUT;  // the printer stopped taking bytes
            break;
        }
        if (n < 0 && errno == EPIPE) {
            guard.NoteBrokenPipe();
        }
        if (n <= 0) {
            break;  // the device went away or failed: report what got through
        }
        written += static_cast<int>(n);
    }
    return written;
}

int uRead(QzHandle handle, int /*pipe*/, void* bytes, int count) {
    const int fd = SlotOf(handle).readFd;
    if (fd < 0 || bytes == nullptr || count <= 0) {
        errno = fd < 0 ? EOPNOTSUPP : EINVAL;
        return -1;
    }
    for (;;) {
        const ssize_t n = ::read(fd, bytes, static_cast<size_t>(count));
        if (n > 0)
            return static_cast<int>(n);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK)
            return -1;
        // Nothing yet (or a device with nothing to say): wait a little.
        pollfd p{fd, POLLIN, 0};
        const int ready = ::poll(&p, 1, kReadWaitMs);
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0 || !(p.revents & POLLIN))
            return ready < 0 ? -1 : 0;
    }
}

}  // extern "C"
