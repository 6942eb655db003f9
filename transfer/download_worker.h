// The download job's worker thread: one download at a time per session.
#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace stampa {

class DownloadWorker {
  public:
    DownloadWorker() = default;
    DownloadWorker(const DownloadWorker&) = delete;
    DownloadWorker& operator=(const DownloadWorker&) = delete;
    ~DownloadWorker() { Join(); }

    // Runs `job` on a new thread, after the previous one has ended.
    void Start(std::function<void()> job) {
        Join();
        std::lock_guard lock(mutex_);
        running_ = true;
        thread_ = std::thread([this, job = std::move(job)] {
            job();
            std::lock_guard lock(mutex_);
            running_ = false;
            done_.notify_all();
        });
    }

    // True when no job runs, after waiting at most `limit` for it.
    bool Wait(std::chrono::milliseconds limit) {
        std::unique_lock lock(mutex_);
        const bool finished = done_.wait_for(lock, limit, [this] { return !running_; });
        lock.unlock();
        if (finished)
            Join();
        return finished;
    }

  private:
    void Join() {
        if (thread_.joinable() && thread_.get_id() != std::this_thread::get_id())
            thread_.join();
    }
    std::mutex mutex_;
    std::condition_variable done_;
    bool running_ = false;
    std::thread thread_;
};

}  // namespace stampa
