// Pages for the jobs in tests: they keep what the jobs set and offer the
// choices a test makes.
#pragma once

#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "transfer/job_pages.h"

namespace stampa::test {

class RecordingDownloadPage final : public IDownloadPage {
  public:
    explicit RecordingDownloadPage(stampa::Memory memory = kFlashMemory) : memory_(memory) {}
    bool replaceAllNv = false;
    stampa::Memory Memory() const override { return memory_; }
    bool ReplaceAllNv() const override { return replaceAllNv; }
    void SetDownloadEnabled(bool enabled) override {
        std::lock_guard lock(mutex_);
        enabled_ = enabled;
        events_.push_back(enabled ? "enabled" : "disabled");
    }
    void SetStatusText(const std::string& text) override {
        std::lock_guard lock(mutex_);
        status_ = text;
        events_.push_back("status " + text);
    }
    void SetProgressRange(int low, int high) override {
        std::lock_guard lock(mutex_);
        events_.push_back("range " + std::to_string(low) + ".." + std::to_string(high));
    }
    void SetProgressPosition(int position) override {
        std::lock_guard lock(mutex_);
        position_ = position;
        positions_.push_back(position);
    }

    void SetBytesSent(long long sent, long long total) override {
        std::lock_guard lock(mutex_);
        bytes_.push_back({sent, total});
    }

    // What SetBytesSent told, in order: (sent, total).
    std::vector<std::pair<long long, long long>> BytesSent() const {
        std::lock_guard lock(mutex_);
        return bytes_;
    }

    bool Enabled() const {
        std::lock_guard lock(mutex_);
        return enabled_;
    }
    std::string Status() const {
        std::lock_guard lock(mutex_);
        return status_;
    }
    int Position() const {
        std::lock_guard lock(mutex_);
        return position_;
    }
    std::vector<int> Positions() const {
        std::lock_guard lock(mutex_);
        return positions_;
    }
    std::vector<std::string> Events() const {
        std::lock_guard lock(mutex_);
        return events_;
    }

  private:
    mutable std::mutex mutex_;
    stampa::Memory memory_;
    bool enabled_ = true;
    std::string status_;
    int position_ = 0;
    std::vector<int> positions_;
    std::vector<std::pair<long long, long long>> bytes_;
    std::vector<std::string> events_;
};

struct FakePrintPage final : public IPrintPage {
    int range = kPrintAll;
    stampa::Memory memory = kFlashMemory;
    int scaling = 0;
    bool label = false;
    std::vector<int> rows;
    bool enabled = true;
    int disabledTimes = 0;

    int Range() const override { return range; }
    stampa::Memory Memory() const override { return memory; }
    int ScalingMode() const override { return scaling; }
    bool PrintLabel() const override { return label; }
    std::vector<int> SelectedRows() const override { return rows; }
    void SetPrintEnabled(bool on) override {
        enabled = on;
        if (!on)
            ++disabledTimes;
    }
};

}  // namespace stampa::test
