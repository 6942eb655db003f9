#include "vprinter/endpoints.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace vprinter {
namespace {

void Complain(const std::string& what) {
    std::fprintf(stderr, "stampa-vprinter: %s: %s\n", what.c_str(), std::strerror(errno));
}

}  // namespace

PtyEndpoint::~PtyEndpoint() {
    Close();
}

bool PtyEndpoint::Open() {
    master_ = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC | O_NONBLOCK);
    if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0) {
        Complain("cannot open a pseudo-terminal");
        return false;
    }
    char name[128];
    if (ptsname_r(master_, name, sizeof name) != 0) {
        Complain("cannot name the pseudo-terminal");
        return false;
    }
    slave_ = name;
    // Raw mode from the start, so nothing is echoed back before the program
    // sets the line up itself.
    const int slave = ::open(slave_.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (slave >= 0) {
        termios t{};
        if (tcgetattr(slave, &t) == 0) {
            cfmakeraw(&t);
            tcsetattr(slave, TCSANOW, &t);
        }
        ::close(slave);
    }
    ::unlink(linkPath_.c_str());
    if (::symlink(slave_.c_str(), linkPath_.c_str()) != 0) {
        Complain("cannot link " + linkPath_ + " to " + slave_);
        return false;
    }
    return true;
}

void PtyEndpoint::Close() {
    if (master_ >= 0) {
        ::close(master_);
        master_ = -1;
        ::unlink(linkPath_.c_str());
    }
}

FifoEndpoint::~FifoEndpoint() {
    Remove();
}

bool FifoEndpoint::Create() {
    struct stat st {};
    if (::lstat(path_.c_str(), &st) == 0 && S_ISFIFO(st.st_mode)) {
        ::unlink(path_.c_str());
    }
    if (::mkfifo(path_.c_str(), 0666) != 0) {
        Complain("cannot create the FIFO " + path_);
        return false;
    }
    return Reopen();
}

bool FifoEndpoint::Reopen() {
    CloseReadEnd();
    fd_ = ::open(path_.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd_ < 0) {
        Complain("cannot open the FIFO " + path_);
        return false;
    }
    return true;
}

void FifoEndpoint::CloseReadEnd() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
}

void FifoEndpoint::Remove() {
    if (!path_.empty()) {
        CloseReadEnd();
        ::unlink(path_.c_str());
        path_.clear();
    }
}

TcpEndpoint::~TcpEndpoint() {
    if (fd_ >= 0)
        ::close(fd_);
}

bool TcpEndpoint::Listen(const std::string& spec) {
    std::string host = "127.0.0.1";
    std::string port = spec;
    if (const auto colon = spec.rfind(':'); colon != std::string::npos) {
        host = spec.substr(0, colon);
        port = spec.substr(colon + 1);
    }
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(static_cast<std::uint16_t>(std::atoi(port.c_str())));
    if (inet_pton(AF_INET, host.c_str(), &addr.sin_addr) != 1) {
        std::fprintf(stderr, "stampa-vprinter: not an IPv4 address: %s\n", host.c_str());
        return false;
    }
    fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    const int yes = 1;
    ::setsockopt(fd_, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    if (fd_ < 0 || ::bind(fd_, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 ||
        ::listen(fd_, 8) != 0) {
        Complain("cannot listen on " + spec);
        return false;
    }
    socklen_t length = sizeof addr;
    ::getsockname(fd_, reinterpret_cast<sockaddr*>(&addr), &length);
    address_ = host + ":" + std::to_string(ntohs(addr.sin_port));
    return true;
}

}  // namespace vprinter
