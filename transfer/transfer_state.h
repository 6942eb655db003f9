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

// Back to the start values (tests).
void ResetTransferState();

}  // namespace stampa
