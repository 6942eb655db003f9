// The USB interface library over the Linux USB printer devices.
#include "link/usb_interface.h"
#include "link/usb_device_file.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
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

// Open devices: handle = slot + 1, so a stale or made-up handle never reaches
// a descriptor this library did not open.
std::mutex slotsMutex;
int slots[kSlots] = {};
bool slotsReady = false;

void PrepareSlots() {
    if (!slotsReady) {
        for (int& fd : slots)
            fd = -1;
        slotsReady = true;
    }
}

int DescriptorOf(QzHandle handle) {
    std::lock_guard lock(slotsMutex);
    PrepareSlots();
    if (handle < 1 || handle > kSlots) {
        return -1;
    }
    return slots[handle - 1];
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
    // Non-blocking: a FIFO without a reader fails at once (ENXIO) instead of
    // waiting for one, and writes wait for the device with poll, within the
    // stall limit.
    const int fd = ::open(stampa::UsbDeviceFile(device).c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        return 0;
    }
    std::lock_guard lock(slotsMutex);
    PrepareSlots();
    for (int i = 0; i < kSlots; ++i) {
        if (slots[i] < 0) {
            slots[i] = fd;
            return i + 1;
        }
    }
    ::close(fd);
    return 0;
}

int CloseDevice(QzHandle handle) {
    int fd = -1;
    {
        std::lock_guard lock(slotsMutex);
        PrepareSlots();
        if (handle < 1 || handle > kSlots || slots[handle - 1] < 0) {
            return 0;
        }
        fd = slots[handle - 1];
        slots[handle - 1] = -1;
    }
    ::close(fd);
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

int uRead(QzHandle, int, void*, int) {
    return 0;
}
int ResetPipes(QzHandle) {
    return 0;
}
int VendorRequest(QzHandle, int, int, int, void*, int) {
    return 0;
}
int GetDescriptor(QzHandle, int, int, void*, int) {
    return 0;
}
int GetConfiguration(QzHandle, void*) {
    return 0;
}
int GetDeviceStatus(QzHandle, void*) {
    return 0;
}
int GetPipeInfo(QzHandle, int, void*) {
    return 0;
}
int AbortPipes(QzHandle) {
    return 0;
}
#ifndef QZUSB_WITHOUT_SETINTERFACE
int SetInterface(QzHandle, int, int) {
    return 0;
}
#endif

}  // extern "C"
