// One printer session: what the program knows of one printer and of the
// operator's work with it. Each front end creates its own — one in the
// program, one per printer in stampa-cli, one per test — and hands it to the
// workflows and jobs explicitly, so two printers, two tests or two threads
// never share a variable by accident.
//
// It holds the logo lists and the pick (LogoStore, logos/logo_store.h), the
// open link and the link chosen (LinkState, link/link_state.h), where its
// messages go (OperatorChannel, common/operator.h), the download's
// marks and worker, what the printer told of its NV graphics, the links'
// measured speeds and the job's settings.
#pragma once

#include <atomic>
#include <chrono>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "common/operator.h"
#include "link/link_state.h"
#include "logos/logo_store.h"
#include "transfer/download_worker.h"

namespace stampa {

// Pauses of the download job: before the FLASH header (and the first NV
// write) and before the progress bar is reset. Tests may shorten them.
// What the last NV download of a session wrote, as its plan counted it.
struct NvWriteCounts {
    int defined = 0;
    int unchanged = 0;
    int deleted = 0;
    int nvWrites = 0;
};

struct DownloadPauses {
    std::chrono::milliseconds beforeFlashHeader{1000};
    std::chrono::milliseconds beforeProgressReset{20};
};

class Session : public LogoStore, public LinkState, public OperatorChannel {
  public:
    Session() = default;
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;
    ~Session();  // waits for a download still sending

    // The marks the download job leaves for the pages and the print job,
    // written by the download worker and read by the user-interface thread.
    std::atomic<bool> FlashDownloaded{
        false};                              // a FLASH download finished since the last connection
    std::atomic<bool> RamDownloaded{false};  // a RAM download finished since the last connection
    std::atomic<bool> NvDownloaded{false};   // an NV download finished since the last connection
    std::atomic<bool> DownloadIdle{true};    // clear while a download job is sending
    std::atomic<bool> PrintNoticePending{true};  // the print job's notice on the driver link is due

    // The printer's NV graphics capacity and what is free of it, in bytes, as
    // it answered on this connection; -1 while not known.
    std::atomic<long long> NvCapacityTotal{-1};
    std::atomic<long long> NvCapacityFree{-1};

    // The keys of the NV graphics the printer reported when last asked on
    // this connection; nullopt: not known (no answer, a new connection).
    std::optional<std::vector<std::string>> PrinterNvKeys() const;
    void SetPrinterNvKeys(std::optional<std::vector<std::string>> keys);
    // Drops the reported keys for which `gone` holds (after deletes).
    void ForgetPrinterNvKeys(const std::function<bool(const std::string&)>& gone);

    // Bytes a second the last download over each kind of link achieved (0
    // before one), for the download page's time estimate.
    double MeasuredThroughput(LinkKind linkKind) const;
    void RecordThroughput(LinkKind linkKind, long long bytes, double seconds);

    // Settings of the download job.
    DownloadPauses Pauses() const;
    void SetPauses(const DownloadPauses& pauses);
    // Whether a successful NV download writes the model's NV list file and its
    // record of what was sent (the default). stampa-cli's per-printer jobs
    // leave it to the command, which writes them once every printer is done.
    std::atomic<bool> KeepNvListFile{true};

    DownloadWorker& Worker() { return worker_; }

    // Set by an NV download that went through (on the worker); read after it.
    std::optional<NvWriteCounts> LastNvWrites() const;
    void SetLastNvWrites(const NvWriteCounts& counts);

  private:
    mutable std::mutex mutex_;
    std::optional<NvWriteCounts> lastNvWrites_;
    std::optional<std::vector<std::string>> printerKeys_;
    std::map<LinkKind, double> throughput_;
    DownloadPauses pauses_;
    DownloadWorker worker_;  // last, so it is joined before the rest goes
};

}  // namespace stampa
