// The marks the download job leaves for the pages and the print job. They are
// written by the download worker thread and read by the user-interface thread.
#pragma once

#include <atomic>

namespace stampa {

extern std::atomic<bool> FlashDownloaded;     // a FLASH download finished since the last connection
extern std::atomic<bool> RamDownloaded;       // a RAM download finished since the last connection
extern std::atomic<bool> NvDownloaded;        // an NV download finished since the last connection
extern std::atomic<bool> DownloadIdle;        // clear while a download job is sending
extern std::atomic<bool> PrintNoticePending;  // the print job's notice on the driver link is due

// The printer's NV graphics capacity and what is free of it, in bytes, as it
// answered on this connection; -1 while not known. A known capacity bounds NV
// downloads.
extern std::atomic<long long> NvCapacityTotal;
extern std::atomic<long long> NvCapacityFree;

// Bytes a second the last download over each kind of link achieved (0 before
// one), for the download page's time estimate.
double MeasuredThroughput(int linkKind);
void RecordThroughput(int linkKind, long long bytes, double seconds);

// Back to the start values (tests).
void ResetTransferState();

}  // namespace stampa
