// The far end of a FIFO device: holds it open for reading so a writer finds the
// device present, and collects every byte written to it on a thread of its own.
#pragma once

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace stampa::test {

class FifoReader {
  public:
    explicit FifoReader(std::string path) : path_(std::move(path)) {
        mkfifo(path_.c_str(), 0600);
        fd_ = open(path_.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        thread_ = std::thread([this] { Run(); });
    }
    ~FifoReader() { GoAway(); }

    // The reader disappears, as a printer that was unplugged: later writes fail.
    void GoAway() {
        stop_ = true;
        if (thread_.joinable())
            thread_.join();
        if (fd_ >= 0) {
            close(fd_);
            fd_ = -1;
        }
    }

    std::vector<unsigned char> Received() const {
        std::lock_guard lock(mutex_);
        return received_;
    }

    // Waits until at least n bytes arrived (or two seconds passed).
    std::vector<unsigned char> WaitFor(std::size_t n) const {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
        while (std::chrono::steady_clock::now() < deadline) {
            if (Received().size() >= n)
                break;
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        return Received();
    }

  private:
    void Run() {
        unsigned char buffer[8192];
        while (!stop_) {
            pollfd p{fd_, POLLIN, 0};
            if (poll(&p, 1, 10) <= 0)
                continue;
            const ssize_t n = read(fd_, buffer, sizeof buffer);
            if (n > 0) {
                std::lock_guard lock(mutex_);
                received_.insert(received_.end(), buffer, buffer + n);
            } else {
                std::this_thread::sleep_for(std::chrono::milliseconds(5));  // no writer just now
            }
        }
    }

    std::string path_;
    int fd_ = -1;
    std::atomic<bool> stop_{false};
    mutable std::mutex mutex_;
    std::vector<unsigned char> received_;
    std::thread thread_;
};

}  // namespace stampa::test
