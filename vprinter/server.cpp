#include "vprinter/server.h"

#include <poll.h>
#include <signal.h>
#include <sys/signalfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <list>
#include <memory>
#include <regex>
#include <thread>

#include "vprinter/endpoints.h"
#include "vprinter/render.h"

namespace vprinter {
namespace {

// One connection's byte stream through its own session, with the fault switches.
class Connection {
  public:
    Connection(std::string name, PrinterState& state, const ServerOptions& options,
               std::function<void(Receipt&&)> receiptDone,
               std::function<void(const std::vector<std::uint8_t>&)> reply)
        : name_(std::move(name)),
          options_(options),
          session_(state, std::move(reply), std::move(receiptDone),
                   [this](const std::string& line) {
                       std::fprintf(stderr, "[%s] %s\n", name_.c_str(), line.c_str());
                   }) {}

    // How many bytes the connection may still read (the stall limit).
    std::size_t ReadAllowance(std::size_t buffer) const {
        if (options_.stallAfter < 0)
            return buffer;
        const long long left = options_.stallAfter - received_;
        return left <= 0 ? 0
                         : static_cast<std::size_t>(
                               std::min<long long>(left, static_cast<long long>(buffer)));
    }
    bool Stalled() const { return options_.stallAfter >= 0 && received_ >= options_.stallAfter; }

    // Feeds the bytes; true when the connection must be dropped now.
    bool Take(const std::uint8_t* bytes, std::size_t n, std::FILE* capture) {
        if (options_.dropAfter >= 0 &&
            received_ + static_cast<long long>(n) >= options_.dropAfter) {
            n = static_cast<std::size_t>(std::max<long long>(0, options_.dropAfter - received_));
            Feed(bytes, n, capture);
            std::fprintf(stderr, "[%s] dropping the connection after %lld bytes\n", name_.c_str(),
                         received_);
            return true;
        }
        Feed(bytes, n, capture);
        if (Stalled()) {
            std::fprintf(stderr, "[%s] stalled after %lld bytes\n", name_.c_str(), received_);
        }
        return false;
    }
    void End() { session_.End(); }

  private:
    void Feed(const std::uint8_t* bytes, std::size_t n, std::FILE* capture) {
        if (capture != nullptr && n > 0) {
            std::fwrite(bytes, 1, n, capture);
            std::fflush(capture);
        }
        received_ += static_cast<long long>(n);
        session_.Feed(bytes, n);
    }

    std::string name_;
    const ServerOptions& options_;
    Session session_;
    long long received_ = 0;
};

void WriteAll(int fd, const std::vector<std::uint8_t>& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::send(fd, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL);
        const ssize_t m = (n < 0 && errno == ENOTSOCK)
                              ? ::write(fd, bytes.data() + done, bytes.size() - done)
                              : n;
        if (m < 0 && errno == EINTR)
            continue;
        if (m <= 0)
            return;
        done += static_cast<std::size_t>(m);
    }
}

int FirstFreeReceiptNumber(const std::string& folder) {
    int highest = 0;
    const std::regex name(R"(receipt-(\d+)\.png)");
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        std::smatch m;
        const std::string file = entry.path().filename().string();
        if (std::regex_match(file, m, name))
            highest = std::max(highest, std::stoi(m[1]));
    }
    return highest + 1;
}

class Server {
  public:
    explicit Server(const ServerOptions& options)
        : options_(options), state_(options.printer, options.statePath) {}

    int Run();

  private:
    struct Pty {
        std::unique_ptr<PtyEndpoint> end;
        std::unique_ptr<Connection> connection;  // while a program has the port open
        bool dropped = false;
    };
    struct Fifo {
        std::unique_ptr<FifoEndpoint> end;
        std::unique_ptr<Connection> connection;
        Clock::time_point reopenAt{};
        bool closedForDrop = false;
    };
    struct Lpt {
        std::unique_ptr<LptSimEndpoint> end;
        std::unique_ptr<Connection> connection;
    };
    struct TcpClient {
        int fd;
        std::unique_ptr<Connection> connection;
    };

    bool Start();
    void Stop();
    void Loop(int signalFd);
    std::unique_ptr<Connection> NewConnection(const std::string& name, int replyFd);
    std::unique_ptr<Connection> NewConnection(
        const std::string& name, std::function<void(const std::vector<std::uint8_t>&)> reply);
    void ReceiptDone(Receipt&& receipt);

    void ServePty(Pty& pty);
    void ServeLpt(Lpt& lpt);
    void ServeFifo(Fifo& fifo, short revents);
    void ServeTcpClient(TcpClient& client, short revents);
    void AcceptTcp(int listenFd);

    const ServerOptions& options_;
    PrinterState state_;
    std::vector<Pty> ptys_;
    std::vector<Fifo> fifos_;
    std::vector<Lpt> lpts_;
    std::vector<std::unique_ptr<TcpEndpoint>> listeners_;
    std::list<TcpClient> clients_;
    std::FILE* capture_ = nullptr;
    int nextReceipt_ = 1;
};

std::unique_ptr<Connection> Server::NewConnection(const std::string& name, int replyFd) {
    return NewConnection(name, [replyFd](const std::vector<std::uint8_t>& bytes) {
        if (replyFd >= 0)
            WriteAll(replyFd, bytes);
    });
}

std::unique_ptr<Connection> Server::NewConnection(
    const std::string& name, std::function<void(const std::vector<std::uint8_t>&)> reply) {
    return std::make_unique<Connection>(
        name, state_, options_, [this](Receipt&& r) { ReceiptDone(std::move(r)); },
        std::move(reply));
}

void Server::ReceiptDone(Receipt&& receipt) {
    const int number = nextReceipt_++;
    if (WriteReceiptFiles(options_.outDir, number, receipt, options_.printer.paperWidth)) {
        std::fprintf(stderr, "receipt %04d written to %s\n", number, options_.outDir.c_str());
    } else {
        std::fprintf(stderr, "stampa-vprinter: cannot write receipt %04d to %s\n", number,
                     options_.outDir.c_str());
    }
}

bool Server::Start() {
    std::filesystem::create_directories(options_.outDir);
    nextReceipt_ = FirstFreeReceiptNumber(options_.outDir);
    if (!state_.LoadFlash()) {
        std::fprintf(stderr, "stampa-vprinter: %s is not a FLASH state file\n",
                     options_.statePath.c_str());
        return false;
    }
    if (!options_.capturePath.empty()) {
        capture_ = std::fopen(options_.capturePath.c_str(), "ab");
    }
    for (const std::string& path : options_.serialLinks) {
        Pty pty{std::make_unique<PtyEndpoint>(path), nullptr};
        if (!pty.end->Open())
            return false;
        std::printf("serial: %s -> %s\n", path.c_str(), pty.end->SlavePath().c_str());
        ptys_.push_back(std::move(pty));
    }
    for (const std::string& path : options_.usbDevices) {
        Fifo fifo{std::make_unique<FifoEndpoint>(path), nullptr};
        if (!fifo.end->Create(options_.dropAfter >= 0 || options_.stallAfter >= 0))
            return false;
        std::printf("usb: %s\n", path.c_str());
        fifos_.push_back(std::move(fifo));
    }
    for (const std::string& path : options_.lptSims) {
        Lpt lpt{std::make_unique<LptSimEndpoint>(path), nullptr};
        if (!lpt.end->Create(options_.printer.paperOut))
            return false;
        lpt.connection = NewConnection("lpt " + path, -1);
        std::printf("lpt-sim: %s\n", path.c_str());
        lpts_.push_back(std::move(lpt));
    }
    for (const std::string& address : options_.tcpListen) {
        auto listener = std::make_unique<TcpEndpoint>();
        if (!listener->Listen(address, options_.dropAfter >= 0 || options_.stallAfter >= 0))
            return false;
        std::printf("tcp: %s\n", listener->Address().c_str());
        listeners_.push_back(std::move(listener));
    }
    std::printf("flash: %zu logos, NV: %zu graphics%s%s\nreceipts: %s\nready\n",
                state_.Flash().size(), state_.Nv().size(),
                options_.statePath.empty() ? "" : " from ", options_.statePath.c_str(),
                options_.outDir.c_str());
    std::fflush(stdout);
    return true;
}

void Server::Stop() {
    for (Pty& pty : ptys_) {
        if (pty.connection)
            pty.connection->End();
        pty.end->Close();
    }
    for (Fifo& fifo : fifos_) {
        if (fifo.connection)
            fifo.connection->End();
        fifo.end->Remove();
    }
    for (Lpt& lpt : lpts_) {
        lpt.connection->End();
        lpt.end->Remove();
    }
    for (TcpClient& client : clients_) {
        client.connection->End();
        ::close(client.fd);
    }
    clients_.clear();
    if (capture_ != nullptr)
        std::fclose(capture_);
}

void Server::ServePty(Pty& pty) {
    std::uint8_t buffer[4096];
    for (;;) {
        // The session exists before its first read, so its limits hold from byte one.
        if (!pty.connection)
            pty.connection = NewConnection("serial " + pty.end->LinkPath(), pty.end->Fd());
        if (pty.connection->Stalled())
            return;
        const ssize_t n =
            ::read(pty.end->Fd(), buffer, pty.connection->ReadAllowance(sizeof buffer));
        if (n > 0) {
            if (pty.connection->Take(buffer, static_cast<std::size_t>(n), capture_)) {
                pty.connection->End();
                pty.connection.reset();
                pty.end->Close();  // the program's port goes dead; a new one takes the link
                pty.end->Open();
                std::printf("serial: %s -> %s\n", pty.end->LinkPath().c_str(),
                            pty.end->SlavePath().c_str());
                std::fflush(stdout);
                return;
            }
            continue;
        }
        if (n < 0 && (errno == EAGAIN || errno == EINTR))
            return;
        // EIO: the program closed the port.
        if (pty.connection) {
            pty.connection->End();
            pty.connection.reset();
        }
        return;
    }
}

// The simulated parallel port has no connections: one session takes every
// byte strobed out; --stall-after holds BUSY from then on.
void Server::ServeLpt(Lpt& lpt) {
    std::uint8_t buffer[65536];
    for (;;) {
        const std::size_t allowance = lpt.connection->ReadAllowance(sizeof buffer);
        const std::size_t n = lpt.end->Drain(buffer, allowance, allowance == 0);
        if (n == 0)
            return;
        lpt.connection->Take(buffer, n, capture_);
    }
}

void Server::ServeFifo(Fifo& fifo, short revents) {
    std::uint8_t buffer[65536];
    if (revents & POLLIN) {
        if (!fifo.connection)
            fifo.connection =
                NewConnection("usb " + fifo.end->Path(),
                              [end = fifo.end.get()](const auto& bytes) { end->Answer(bytes); });
        if (fifo.connection->Stalled())
            return;
        const ssize_t n =
            ::read(fifo.end->Fd(), buffer, fifo.connection->ReadAllowance(sizeof buffer));
        if (n > 0) {
            if (fifo.connection->Take(buffer, static_cast<std::size_t>(n), capture_)) {
                fifo.connection->End();
                fifo.connection.reset();
                fifo.end->CloseReadEnd();  // the writer's next write fails: the device is gone
                fifo.closedForDrop = true;
                // The device comes back after a while, as a replugged printer does; long
                // enough that the program's next write surely finds it gone.
                fifo.reopenAt = Clock::now() + std::chrono::seconds(2);
            }
            return;
        }
    }
    if (revents & POLLHUP) {  // the program closed the device
        fifo.end->Reopen();   // first, so the device is there again at once
        if (fifo.connection) {
            fifo.connection->End();
            fifo.connection.reset();
        }
    }
}

void Server::ServeTcpClient(TcpClient& client, short revents) {
    std::uint8_t buffer[65536];
    if (client.connection->Stalled())
        return;
    const ssize_t n = ::read(client.fd, buffer, client.connection->ReadAllowance(sizeof buffer));
    if (n > 0) {
        if (client.connection->Take(buffer, static_cast<std::size_t>(n), capture_)) {
            client.connection->End();
            ::close(client.fd);
            client.fd = -1;
        }
        return;
    }
    if ((n == 0) || (n < 0 && errno != EAGAIN && errno != EINTR) ||
        (revents & (POLLHUP | POLLERR))) {
        client.connection->End();
        ::close(client.fd);
        client.fd = -1;
    }
}

void Server::AcceptTcp(int listenFd) {
    const int fd = ::accept4(listenFd, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
    if (fd >= 0) {
        clients_.push_back({fd, NewConnection("tcp client " + std::to_string(fd), fd)});
    }
}

void Server::Loop(int signalFd) {
    for (;;) {
        std::vector<pollfd> fds{{signalFd, POLLIN, 0}};
        std::vector<std::function<void(short)>> handlers{nullptr};
        bool ticking = false;  // something needs a look without an event
        for (Pty& pty : ptys_) {
            // A master whose port nobody holds reports a hang-up at once: look at
            // it with a zero time-out instead of waiting on it.
            pollfd probe{pty.end->Fd(), POLLIN, 0};
            ::poll(&probe, 1, 0);
            const bool idle = (probe.revents & POLLHUP) && !(probe.revents & POLLIN);
            if (idle) {
                if (pty.connection) {
                    pty.connection->End();
                    pty.connection.reset();
                }
                ticking = true;
                continue;
            }
            if (pty.connection && pty.connection->Stalled())
                continue;
            fds.push_back({pty.end->Fd(), POLLIN, 0});
            handlers.push_back([this, &pty](short) { ServePty(pty); });
        }
        for (Fifo& fifo : fifos_) {
            if (fifo.closedForDrop) {
                ticking = true;
                if (Clock::now() >= fifo.reopenAt && fifo.end->Reopen())
                    fifo.closedForDrop = false;
                continue;
            }
            if (fifo.connection && fifo.connection->Stalled())
                continue;
            fds.push_back({fifo.end->Fd(), POLLIN, 0});
            handlers.push_back([this, &fifo](short r) { ServeFifo(fifo, r); });
        }
        for (Lpt& lpt : lpts_) {
            ServeLpt(lpt);
            ticking = true;
        }
        for (auto& listener : listeners_) {
            fds.push_back({listener->Fd(), POLLIN, 0});
            const int fd = listener->Fd();
            handlers.push_back([this, fd](short) { AcceptTcp(fd); });
        }
        for (TcpClient& client : clients_) {
            if (client.connection->Stalled())
                continue;
            fds.push_back({client.fd, POLLIN, 0});
            handlers.push_back([this, &client](short r) { ServeTcpClient(client, r); });
        }
        const int ready = ::poll(fds.data(), fds.size(), ticking ? 20 : 1000);
        if (ready < 0 && errno != EINTR)
            return;
        if (fds[0].revents & POLLIN)
            return;  // SIGINT or SIGTERM
        for (std::size_t i = 1; i < fds.size(); ++i) {
            if (fds[i].revents != 0)
                handlers[i](fds[i].revents);
        }
        clients_.remove_if([](const TcpClient& c) { return c.fd < 0; });
    }
}

int Server::Run() {
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    sigprocmask(SIG_BLOCK, &stopSignals, nullptr);
    ::signal(SIGPIPE, SIG_IGN);
    const int signalFd = ::signalfd(-1, &stopSignals, SFD_CLOEXEC);
    const bool started = Start();
    if (started) {
        Loop(signalFd);
        std::fprintf(stderr, "stampa-vprinter: stopping\n");
    }
    Stop();
    ::close(signalFd);
    return started ? 0 : 1;
}

}  // namespace

int RunServer(const ServerOptions& options) {
    Server server(options);
    return server.Run();
}

}  // namespace vprinter
