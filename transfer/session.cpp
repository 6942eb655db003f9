#include "transfer/session.h"

namespace stampa {

Session::~Session() {
    worker_.Wait(std::chrono::hours(1));
}

std::optional<std::vector<std::string>> Session::PrinterNvKeys() const {
    std::lock_guard lock(mutex_);
    return printerKeys_;
}

void Session::SetPrinterNvKeys(std::optional<std::vector<std::string>> keys) {
    std::lock_guard lock(mutex_);
    printerKeys_ = std::move(keys);
}

void Session::ForgetPrinterNvKeys(const std::function<bool(const std::string&)>& gone) {
    std::lock_guard lock(mutex_);
    if (printerKeys_)
        std::erase_if(*printerKeys_, gone);
}

double Session::MeasuredThroughput(LinkKind linkKind) const {
    std::lock_guard lock(mutex_);
    const auto it = throughput_.find(linkKind);
    return it == throughput_.end() ? 0.0 : it->second;
}

void Session::RecordThroughput(LinkKind linkKind, long long bytes, double seconds) {
    if (bytes < 1024 || seconds < 0.05) {
        return;  // too little to tell the link's speed
    }
    std::lock_guard lock(mutex_);
    throughput_[linkKind] = static_cast<double>(bytes) / seconds;
}

DownloadPauses Session::Pauses() const {
    std::lock_guard lock(mutex_);
    return pauses_;
}

void Session::SetPauses(const DownloadPauses& pauses) {
    std::lock_guard lock(mutex_);
    pauses_ = pauses;
}

std::optional<NvWriteCounts> Session::LastNvWrites() const {
    std::lock_guard lock(mutex_);
    return lastNvWrites_;
}

void Session::SetLastNvWrites(const NvWriteCounts& counts) {
    std::lock_guard lock(mutex_);
    lastNvWrites_ = counts;
}

}  // namespace stampa
