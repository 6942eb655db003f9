// The network link on Windows, through Winsock.
#include <winsock2.h>
#include <ws2tcpip.h>

#include <atomic>
#include <memory>
#include <mutex>

#include "link/link_error.h"
#include "link/network/network_link.h"
#include "link/port.h"
#include "link/transport.h"
#include "link/win32_error.h"

namespace stampa {
namespace {

using Clock = std::chrono::steady_clock;

// Handles of network connections are their sockets plus this, apart from the
// other kinds' handles.
constexpr PortHandleValue kNetworkHandleBase = 0x40000;

// Winsock is started once, for the life of the program.
bool WinsockStarted() {
    static const bool started = [] {
        WSADATA data;
        return WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }();
    return started;
}

int MillisecondsLeft(Clock::time_point deadline) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

// Waits for `events` on `s` until the deadline; false on time-out or error.
bool WaitFor(SOCKET s, short events, Clock::time_point deadline) {
    WSAPOLLFD p{s, events, 0};
    return WSAPoll(&p, 1, MillisecondsLeft(deadline)) > 0 && (p.revents & events);
}

int SocketError(SOCKET s) {
    int error = 0;
    int size = sizeof error;
    getsockopt(s, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&error), &size);
    return error;
}

class NetworkTransport final : public Transport {
  public:
    NetworkTransport(SOCKET s, std::string name, std::chrono::milliseconds stall)
        : socket_(s), name_(std::move(name)), stall_(stall) {}
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
            const int n =
                send(socket_, reinterpret_cast<const char*>(bytes) + sent, length - sent, 0);
            if (n > 0) {
                sent += n;
                deadline = Clock::now() + stall;  // progress
                continue;
            }
            const int error = WSAGetLastError();
            if (n < 0 && error == WSAEWOULDBLOCK && WaitFor(socket_, POLLWRNORM, deadline))
                continue;
            return Fail(n < 0 && error != WSAEWOULDBLOCK ? error : WSAETIMEDOUT);
        }
        return 1;
    }

    int Flush() override {
        std::lock_guard lock(mutex_);
        if (closed_)
            return 0;
        const int error = SocketError(socket_);
        return error == 0 ? 1 : Fail(error);
    }

    bool CanRead() const override { return true; }

    int Read(unsigned char* buffer, int max, int timeoutMs) override {
        std::lock_guard lock(mutex_);
        if (closed_)
            return -1;
        WSAPOLLFD p{socket_, POLLRDNORM, 0};
        const int ready = WSAPoll(&p, 1, timeoutMs);
        if (ready == 0)
            return 0;
        if (ready < 0 || !(p.revents & POLLRDNORM))
            return -1;  // an error or hang-up without data
        const int n = recv(socket_, reinterpret_cast<char*>(buffer), max, 0);
        if (n > 0)
            return n;
        // Nothing after all (0), or the other end closed or failed (-1).
        return n < 0 && WSAGetLastError() == WSAEWOULDBLOCK ? 0 : -1;
    }

    int Close() override {
        std::lock_guard lock(mutex_);
        if (closed_)
            return 1;
        const int result = closesocket(socket_);
        closed_ = true;
        return result == 0 ? 1 : 0;
    }

  private:
    // The link dies: noted, closed, never written again.
    int Fail(int error) {
        NoteError(WindowsLinkError(LinkStep::Write, static_cast<unsigned long>(error), name_));
        closesocket(socket_);
        closed_ = true;
        return 0;
    }

    std::mutex mutex_;
    SOCKET socket_;
    std::string name_;
    std::chrono::milliseconds stall_;  // no byte taken for this long fails a write
    std::atomic<bool> closed_{false};
};

// One address: a non-blocking connect finished within the deadline. The
// socket, or INVALID_SOCKET with `error` set.
SOCKET ConnectTo(const addrinfo& a, Clock::time_point deadline, int& error) {
    const SOCKET s = socket(a.ai_family, a.ai_socktype, a.ai_protocol);
    if (s == INVALID_SOCKET) {
        error = WSAGetLastError();
        return INVALID_SOCKET;
    }
    u_long nonBlocking = 1;
    ioctlsocket(s, FIONBIO, &nonBlocking);
    error = 0;
    if (connect(s, a.ai_addr, static_cast<int>(a.ai_addrlen)) != 0) {
        error = WSAGetLastError();
        if (error == WSAEWOULDBLOCK) {
            // A refused connect shows as an error event, not as writable.
            WSAPOLLFD p{s, POLLWRNORM, 0};
            const int ready = WSAPoll(&p, 1, MillisecondsLeft(deadline));
            error = ready > 0 ? SocketError(s) : WSAETIMEDOUT;
            if (ready > 0 && error == 0 && !(p.revents & POLLWRNORM))
                error = WSAECONNREFUSED;
        }
    }
    if (error != 0) {
        closesocket(s);
        return INVALID_SOCKET;
    }
    const BOOL on = TRUE;
    setsockopt(s, SOL_SOCKET, SO_KEEPALIVE, reinterpret_cast<const char*>(&on), sizeof on);
    return s;
}

}  // namespace

PortHandleValue NetworkOpen(const std::string& host, int port, const NetworkTimings& timings,
                            LinkError* why) {
    const std::string name = NetworkPortName(host, port);
    const auto deadline = Clock::now() + timings.connect;
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_protocol = IPPROTO_TCP;
    addrinfo* found = nullptr;
    const std::string service = std::to_string(port);
    if (!WinsockStarted() || host.empty() || port < 1 || port > 65535 ||
        getaddrinfo(host.c_str(), service.c_str(), &hints, &found) != 0) {
        NoteLinkError(why, LinkStep::Open, ENOENT, name, "the name does not resolve");
        return kNoHandle;
    }
    SOCKET s = INVALID_SOCKET;
    int error = WSAETIMEDOUT;
    for (const addrinfo* a = found; a != nullptr && s == INVALID_SOCKET; a = a->ai_next) {
        if (Clock::now() >= deadline)
            break;
        s = ConnectTo(*a, deadline, error);
    }
    freeaddrinfo(found);
    if (s == INVALID_SOCKET) {
        NoteWindowsLinkError(why, LinkStep::Open, static_cast<unsigned long>(error), name);
        return kNoHandle;
    }
    const PortHandleValue handle = kNetworkHandleBase + static_cast<PortHandleValue>(s);
    RegisterConnection(handle, std::make_shared<NetworkTransport>(s, name, timings.stall));
    return handle;
}

}  // namespace stampa
