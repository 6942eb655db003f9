#include "transfer/transfer_state.h"

namespace stampa {

std::atomic<bool> FlashDownloaded{false};
std::atomic<bool> RamDownloaded{false};
std::atomic<bool> NvDownloaded{false};
std::atomic<bool> DownloadIdle{true};
std::atomic<bool> PrintNoticePending{true};
std::atomic<long long> NvCapacityTotal{-1};
std::atomic<long long> NvCapacityFree{-1};

void ResetTransferState() {
    FlashDownloaded = false;
    RamDownloaded = false;
    NvDownloaded = false;
    DownloadIdle = true;
    PrintNoticePending = true;
    NvCapacityTotal = -1;
    NvCapacityFree = -1;
}

}  // namespace stampa
