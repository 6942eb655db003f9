#include "transfer/transfer_state.h"

#include <map>
#include <mutex>

namespace stampa {

std::atomic<bool> FlashDownloaded{false};
std::atomic<bool> RamDownloaded{false};
std::atomic<bool> NvDownloaded{false};
std::atomic<bool> DownloadIdle{true};
std::atomic<bool> PrintNoticePending{true};
std::atomic<long long> NvCapacityTotal{-1};
std::atomic<long long> NvCapacityFree{-1};

namespace {

std::mutex throughputMutex;
std::map<int, double> throughput;

}  // namespace

double MeasuredThroughput(int linkKind) {
    std::lock_guard lock(throughputMutex);
    const auto it = throughput.find(linkKind);
    return it == throughput.end() ? 0.0 : it->second;
}

void RecordThroughput(int linkKind, long long bytes, double seconds) {
    if (bytes < 1024 || seconds < 0.05) {
        return;  // too little to tell the link's speed
    }
    std::lock_guard lock(throughputMutex);
    throughput[linkKind] = static_cast<double>(bytes) / seconds;
}

void ResetTransferState() {
    {
        std::lock_guard lock(throughputMutex);
        throughput.clear();
    }
    FlashDownloaded = false;
    RamDownloaded = false;
    NvDownloaded = false;
    DownloadIdle = true;
    PrintNoticePending = true;
    NvCapacityTotal = -1;
    NvCapacityFree = -1;
}

}  // namespace stampa
