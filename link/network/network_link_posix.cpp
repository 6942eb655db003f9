// The network link on Linux, through sockets.
#include "link/network/network_link.h"

#include <linux/sockios.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <memory>
#include <mutex>

#include "link/fd_read.h"
#include "link/link_error.h"
#include "link/port.h"
#include "link/transport.h"

namespace stampa {
namespace {

using Clock = std::chrono::steady_clock;

// Handles of network connections are their descriptors plus this, apart from
// the descriptors of serial ports, USB device handles and spooler handles.
constexpr PortHandleValue kNetworkHandleBase = 0x40000;

int MillisecondsLeft(Clock::time_point deadline) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

// Waits for `events` on `fd` until the deadline; false on time-out or error.
bool WaitFor(int fd, short events, Clock::time_point deadline) {
    for (;;) {
        pollfd p{fd, events, 0};
        const int n = ::poll(&p, 1, MillisecondsLeft(deadline));
        if (n < 0 && errno == EINTR)
            continue;
        return n > 0;
    }
}

class NetworkTransport final : public Transport {
  public:
    NetworkTransport(int fd, std::string name, std::chrono::milliseconds stall)
        : fd_(fd), name_(std::move(name)), stall_(stall) {}
    ~NetworkTransport() override { Close(); }

    PortKindValue Kind() const override { return kNetworkLink; }
    bool Closed() const override { return closed_; }

    int Write(const unsigned char* bytes, int length) override {
        std::lock_guard lock(mutex_);
        if (closed_)
            return 0;
        const auto stall = stall_;
        int sent = 0;
        auto deadline = Clock::now() + stall;
        while (sent < length) {
            const ssize_t n = ::send(fd_, bytes + sent, static_cast<std::size_t>(length - sent),
                                     MSG_NOSIGNAL | MSG_DONTWAIT);
            if (n > 0) {
                sent += static_cast<int>(n);
                deadline = Clock::now() + stall;  // progress
                continue;
            }
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK) &&
                WaitFor(fd_, POLLOUT, deadline))
                continue;
            return Fail(n < 0 && errno != EAGAIN && errno != EWOULDBLOCK ? errno : ETIMEDOUT);
        }
        return 1;
    }

    // Waits until the printer has taken every byte sent.
    int Flush() override {
        std::lock_guard lock(mutex_);
        if (closed_)
            return 0;
        const auto stall = stall_;
        int queued = -1;
        auto deadline = Clock::now() + stall;
        for (;;) {
            int now = 0;
            if (::ioctl(fd_, SIOCOUTQ, &now) != 0)
                return Fail(errno);
            if (const int error = SocketError(); error != 0)
                return Fail(error);
            if (now == 0)
                return 1;
            if (now != queued) {
                queued = now;
                deadline = Clock::now() + stall;  // progress
            }
            if (Clock::now() >= deadline)
                return Fail(ETIMEDOUT);
            pollfd p{fd_, 0, 0};  // only errors and hang-ups wake this up
            ::poll(&p, 1, 10);
        }
    }

    bool CanRead() const override { return true; }

    int Read(unsigned char* buffer, int max, int timeoutMs) override {
        std::lock_guard lock(mutex_);
        return closed_ ? -1 : ReadWithin(fd_, buffer, max, timeoutMs);
    }

    int Close() override {
        std::lock_guard lock(mutex_);
        if (closed_)
            return 1;
        const int result = ::close(fd_);
        closed_ = true;
        return result == 0 ? 1 : 0;
    }

  private:
    int SocketError() const {
        int error = 0;
        socklen_t size = sizeof error;
        ::getsockopt(fd_, SOL_SOCKET, SO_ERROR, &error, &size);
        return error;
    }

    // The link dies: noted, closed, never written again.
    int Fail(int error) {
        NoteError(LinkStep::Write, error, name_);
        ::close(fd_);
        closed_ = true;
        return 0;
    }

    std::mutex mutex_;
    int fd_;
    std::string name_;
    std::chrono::milliseconds stall_;  // no byte taken for this long fails a write or flush
    std::atomic<bool> closed_{false};
};

// One address: a non-blocking connect finished within the deadline. The
// descriptor, or -1 with errno set.
int ConnectTo(const addrinfo& a, Clock::time_point deadline) {
    const int fd =
        ::socket(a.ai_family, a.ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, a.ai_protocol);
    if (fd < 0)
        return -1;
    int error = 0;
    if (::connect(fd, a.ai_addr, a.ai_addrlen) != 0) {
        error = errno;
        if (error == EINPROGRESS) {
            error = WaitFor(fd, POLLOUT, deadline) ? 0 : ETIMEDOUT;
            if (error == 0) {
                socklen_t size = sizeof error;
                ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &size);
            }
        }
    }
    if (error != 0) {
        ::close(fd);
        errno = error;
        return -1;
    }
    const int on = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_KEEPALIVE, &on, sizeof on);
    return fd;
}

}  // namespace

PortHandleValue NetworkOpen(const std::string& host, int port, const NetworkTimings& timings,
                            LinkError* why) {
    const std::string name = NetworkPortName(host, port);
    const auto deadline = Clock::now() + timings.connect;
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    const std::string service = std::to_string(port);
    if (host.empty() || port < 1 || port > 65535 ||
        ::getaddrinfo(host.c_str(), service.c_str(), &hints, &found) != 0) {
        NoteLinkError(why, LinkStep::Open, ENOENT, name, "the name does not resolve");
        return kNoHandle;
    }
    int fd = -1;
    int error = ETIMEDOUT;
    for (const addrinfo* a = found; a != nullptr && fd < 0; a = a->ai_next) {
        if (Clock::now() >= deadline)
            break;
        fd = ConnectTo(*a, deadline);
        if (fd < 0)
            error = errno;
    }
    ::freeaddrinfo(found);
    if (fd < 0) {
        NoteLinkError(why, LinkStep::Open, error, name);
        return kNoHandle;
    }
    const PortHandleValue handle = kNetworkHandleBase + fd;
    RegisterConnection(handle, std::make_shared<NetworkTransport>(fd, name, timings.stall));
    return handle;
}

}  // namespace stampa
