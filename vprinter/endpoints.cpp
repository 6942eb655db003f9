#include "vprinter/endpoints.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/mman.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "standins/dlportio/sim_port.h"

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

bool FifoEndpoint::Create(bool smallBuffer) {
    smallBuffer_ = smallBuffer;
    struct stat st {};
    if (::lstat(path_.c_str(), &st) == 0 && S_ISFIFO(st.st_mode)) {
        ::unlink(path_.c_str());
    }
    if (::mkfifo(path_.c_str(), 0666) != 0) {
        Complain("cannot create the FIFO " + path_);
        return false;
    }
    const std::string answers = AnswerPath();
    if (::lstat(answers.c_str(), &st) == 0 && S_ISFIFO(st.st_mode)) {
        ::unlink(answers.c_str());
    }
    if (::mkfifo(answers.c_str(), 0666) != 0) {
        Complain("cannot create the FIFO " + answers);
        return false;
    }
    return Reopen();
}

// Opened for each answer: a program that does not hold the answer FIFO open
// is not listening, and the answer is dropped rather than left waiting.
void FifoEndpoint::Answer(const std::vector<std::uint8_t>& bytes) {
    const int fd = ::open(AnswerPath().c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return;
    }
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        done += static_cast<std::size_t>(n);
    }
    ::close(fd);
}

// The new read end is opened before the old one is closed: the FIFO never
// stands without a reader between two writers, so a program that opens the
// device right after closing it (a probe, then the connection) finds it.
bool FifoEndpoint::Reopen() {
    const int fd = ::open(path_.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    CloseReadEnd();
    fd_ = fd;
    if (fd_ < 0) {
        Complain("cannot open the FIFO " + path_);
        return false;
    }
    if (smallBuffer_) {
        ::fcntl(fd_, F_SETPIPE_SZ, 4096);
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
        ::unlink(AnswerPath().c_str());
        path_.clear();
    }
}

LptSimEndpoint::~LptSimEndpoint() {
    Remove();
}

bool LptSimEndpoint::Create(bool paperOut) {
    paperOut_ = paperOut;
    // An existing file is taken over in place (same inode), so a port I/O
    // library that mapped it before sees this printer, as a cable replugged.
    const int fd = ::open(path_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0 || ::ftruncate(fd, sizeof(dlportio::SimPort)) != 0) {
        Complain("cannot create the simulated port " + path_);
        if (fd >= 0)
            ::close(fd);
        return false;
    }
    void* m = ::mmap(nullptr, sizeof(dlportio::SimPort), PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    ::close(fd);
    if (m == MAP_FAILED) {
        Complain("cannot map the simulated port " + path_);
        return false;
    }
    port_ = m;
    auto* port = static_cast<dlportio::SimPort*>(m);
    port->magic = 0;
    port->head = 0;
    port->tail = 0;
    port->ringSize = dlportio::kSimRingSize;
    port->control = 0x0C;
    port->status =
        paperOut ? dlportio::kStatusIdle | dlportio::kStatusPaperEnd : dlportio::kStatusIdle;
    port->magic = dlportio::kSimMagic;
    return true;
}

// The printer goes away: BUSY for good, as the lines of an unplugged printer.
// The file stays, so the next printer takes it over in place.
void LptSimEndpoint::Remove() {
    if (port_ != nullptr) {
        static_cast<dlportio::SimPort*>(port_)->status = 0;
        ::munmap(port_, sizeof(dlportio::SimPort));
        port_ = nullptr;
    }
}

std::size_t LptSimEndpoint::Drain(std::uint8_t* out, std::size_t limit, bool holdBusy) {
    auto* port = static_cast<dlportio::SimPort*>(port_);
    if (port == nullptr)
        return 0;
    if (holdBusy) {
        // Busy first, then free no slot: the computer waits.
        port->status &= static_cast<std::uint8_t>(~dlportio::kStatusNotBusy);
        return 0;
    }
    const std::uint32_t head = port->head.load();
    std::uint32_t tail = port->tail.load();
    std::size_t n = 0;
    while (tail != head && n < limit) {
        out[n++] = port->ring[tail % port->ringSize];
        ++tail;
    }
    port->tail = tail;
    std::uint8_t status = dlportio::kStatusIdle;
    if (paperOut_)
        status |= dlportio::kStatusPaperEnd;
    if (n < limit)
        port->status = status;  // everything taken: ready again
    return n;
}

TcpEndpoint::~TcpEndpoint() {
    if (fd_ >= 0)
        ::close(fd_);
}

bool TcpEndpoint::Listen(const std::string& address, bool smallBuffer) {
    std::string host = "127.0.0.1";
    std::string port = address;
    if (const auto colon = address.rfind(':'); colon != std::string::npos) {
        host = address.substr(0, colon);
        port = address.substr(colon + 1);
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
    if (smallBuffer) {  // set before listen: accepted connections inherit it
        const int size = 4096;
        ::setsockopt(fd_, SOL_SOCKET, SO_RCVBUF, &size, sizeof size);
    }
    if (fd_ < 0 || ::bind(fd_, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 ||
        ::listen(fd_, 8) != 0) {
        Complain("cannot listen on " + address);
        return false;
    }
    socklen_t length = sizeof addr;
    ::getsockname(fd_, reinterpret_cast<sockaddr*>(&addr), &length);
    address_ = host + ":" + std::to_string(ntohs(addr.sin_port));
    return true;
}

}  // namespace vprinter
