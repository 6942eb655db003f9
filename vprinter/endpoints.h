// The ends of the links where the virtual printer listens: a pseudo-terminal
// (serial), a FIFO (a USB printer device), a TCP port (a network printer).
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace vprinter {

using Clock = std::chrono::steady_clock;

// A pseudo-terminal whose slave side is reachable through a symbolic link.
class PtyEndpoint {
  public:
    explicit PtyEndpoint(std::string linkPath) : linkPath_(std::move(linkPath)) {}
    ~PtyEndpoint();
    bool Open();   // new pty, link pointed at its slave; false with a message on failure
    void Close();  // closes the master and removes the link
    int Fd() const { return master_; }
    const std::string& LinkPath() const { return linkPath_; }
    const std::string& SlavePath() const { return slave_; }

  private:
    std::string linkPath_;
    std::string slave_;
    int master_ = -1;
};

// A FIFO held open for reading, so the USB library finds the device present,
// and a FIFO beside it ("lp0.in") that carries the printer's answers back.
class FifoEndpoint {
  public:
    explicit FifoEndpoint(std::string path) : path_(std::move(path)) {}
    ~FifoEndpoint();
    // Makes the FIFO (replacing a stale one) and opens it. A small buffer (4 KiB
    // instead of 64) makes a drop or a stall felt by the writer after a few KiB,
    // as a printer with a small input buffer does.
    bool Create(bool smallBuffer = false);
    bool Reopen();  // a fresh read end: a new writer session
    void CloseReadEnd();
    void Remove();
    void Answer(const std::vector<std::uint8_t>& bytes);  // dropped when nobody listens
    int Fd() const { return fd_; }
    const std::string& Path() const { return path_; }

  private:
    std::string AnswerPath() const { return path_ + ".in"; }

    std::string path_;
    int fd_ = -1;
    bool smallBuffer_ = false;
};

// The printer's side of a simulated parallel port: a shared file the port I/O
// library maps too (its DLPORTIO_SIM).
class LptSimEndpoint {
  public:
    explicit LptSimEndpoint(std::string path) : path_(std::move(path)) {}
    ~LptSimEndpoint();
    bool Create(bool paperOut);
    void Remove();  // shows the printer gone (BUSY), keeps the file
    // Takes what the computer has strobed out since the last call, at most
    // `limit` bytes; then shows the printer ready (BUSY off) unless `holdBusy`.
    std::size_t Drain(std::uint8_t* out, std::size_t limit, bool holdBusy);
    const std::string& Path() const { return path_; }

  private:
    std::string path_;
    void* port_ = nullptr;
    bool paperOut_ = false;
};

// A listening TCP socket, loopback unless a host is given.
class TcpEndpoint {
  public:
    ~TcpEndpoint();
    // "[HOST:]PORT"; port 0 picks a free one. `smallBuffer`: connections get a
    // receive buffer of a few KiB, as a printer's, so a printer that stops
    // reading soon stops the sender too instead of taking hundreds of KB.
    bool Listen(const std::string& address, bool smallBuffer = false);
    int Fd() const { return fd_; }
    const std::string& Address() const { return address_; }

  private:
    int fd_ = -1;
    std::string address_;
};

}  // namespace vprinter
