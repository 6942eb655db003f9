#include "transfer/download_job.h"

#include <thread>

#include "common/language.h"
#include "common/messages.h"
#include "common/operator.h"
#include "common/outcome.h"
#include "common/text_format.h"
#include "link/port.h"
#include "logos/bitmap_reader.h"
#include "logos/column_image.h"
#include "logos/logo_store.h"
#include "logos/nv_sent.h"
#include "logos/stored_list.h"
#include "pixmelt/pixmelt_binding.h"
#include "protocol/commands.h"
#include "transfer/memory.h"
#include "transfer/nv_download.h"
#include "transfer/paper_width.h"

namespace stampa {
namespace {

int Send(PortHandleValue handle, const std::vector<std::uint8_t>& bytes) {
    return PortWrite(handle, bytes.data(), static_cast<int>(bytes.size()));
}

// A capacity refusal with its numbers on a line of their own under it.
void RefuseOverCapacity(const OperatorChannel& session, const char* refusal, long long total,
                        long long limit) {
    ShowInformation(session, std::string(Localize(refusal)) + "\n" +
                                 FormatText(msg::kTotalAgainstLimitFormat, total, limit));
}

// The capacity rules of FLASH and RAM: size before count, strictly greater
// than the limit. (NV graphics: the plan's, in StartNvDownload.)
bool WithinCapacity(const OperatorChannel& session, const MemoryDescriptor& d, int count,
                    int bytes) {
    const std::int64_t total =
        std::int64_t{bytes} + d.bytesPerLogo * std::int64_t{count} + d.bytesPerDownload;
    if (total > d.capacity) {
        RefuseOverCapacity(session, count == 1 ? msg::kLogoTooLarge : msg::kLogosTooLarge, total,
                           d.capacity);
        return false;
    }
    if (count > d.mostLogos) {
        ShowInformation(session, d.texts.holdsNoMore);
        return false;
    }
    return true;
}

// A logo the command cannot describe is refused before anything is sent.
bool EveryLogoFitsTheCommand(const Session& session, const MemoryDescriptor& d) {
    for (const LogoEntry& e : session.SelectedLogos.Entries()) {
        if (!d.fitsCommand(e.width, e.height)) {
            ShowInformation(session, msg::kLogoTooLarge);
            return false;
        }
    }
    return true;
}

// Ends the job after a failure: the page back to its idle state, nothing recorded.
void FailDownload(Session& session, IDownloadPage& page, bool showStatus) {
    ShowWarning(session, msg::kCommunicationFailed);
    ReportOutcome(session, msg::kOutcomeFailed);
    if (showStatus) {
        page.SetStatusText(msg::kDownloadProgress);
    }
    page.SetDownloadEnabled(true);
    if (showStatus) {
        page.SetProgressPosition(0);
    }
    // The spooler document is ended even when the job stopped for another
    // reason than a failed write (which has closed the printer already).
    if (IsDriverConnection(session.PortHandle)) {
        PortEndDocument(session.PortHandle);
    }
    session.DownloadIdle = true;
}

}  // namespace

void ConvertIfTrueColor(Session& session, int position) {
    if (!IsTrueColorBitmap(session.SelectedLogos.GetConvertedPath(position), session)) {
        return;
    }
    const PixmeltConversion conversion =
        ConvertBitmap(session.SelectedLogos.GetPath(position), kPixmeltDitherM3, 0, 0);
    session.SelectedLogos.SetConvertedPath(position, conversion.outputPath);
}

namespace {

// What the memory holds now: the logos sent.
void RecordDownload(Session& session, const MemoryDescriptor& d) {
    CopyLogoList(session.SelectedLogos, session.*d.held);
    session.*d.downloaded = true;
}

// Tells the page the bytes of this download the link has taken, as it takes
// them. A link with a queue of its own (the network) may take them all long
// before the printer has: the page shows the last byte only after the flush.
class ByteProgress {
  public:
    ByteProgress(IDownloadPage& page, PortHandleValue handle, long long total)
        : page_(page),
          handle_(handle),
          total_(std::max(total, 1LL)),
          before_(PortBytesWritten(handle)) {
        PortWatchWrites(handle, [this](long long written) {
            page_.SetBytesSent(std::min(written - before_, total_ - 1), total_);
        });
    }
    ~ByteProgress() { PortWatchWrites(handle_, {}); }
    ByteProgress(const ByteProgress&) = delete;
    ByteProgress& operator=(const ByteProgress&) = delete;
    void Delivered() { page_.SetBytesSent(total_, total_); }

  private:
    IDownloadPage& page_;
    PortHandleValue handle_;
    long long total_;
    long long before_;
};

// When the first byte went out, and how many had gone before it.
struct Sending {
    explicit Sending(PortHandleValue handle) : bytesBefore(PortBytesWritten(handle)) {}
    std::chrono::steady_clock::time_point started = std::chrono::steady_clock::now();
    long long bytesBefore;
};

// The end of a download that went through: the page idle again, the speed
// kept for the estimate, the outcome reported, the spooler document ended.
void FinishDownload(Session& session, IDownloadPage& page, PortHandleValue handle, Memory memory,
                    const Sending& sending, const std::string& more = {}) {
    page.SetStatusText(msg::kDownloadProgress);
    page.SetDownloadEnabled(true);
    std::this_thread::sleep_for(session.Pauses().beforeProgressReset);
    page.SetProgressPosition(0);
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - sending.started;
    if (const auto connection = FindConnection(handle)) {
        session.RecordThroughput(connection->Kind(), PortBytesWritten(handle) - sending.bytesBefore,
                                 took.count());
    }
    ReportOutcome(session,
                  FormatText(CountedText(msg::kDownloadedFormat, session.SelectedLogos.Count()),
                             session.SelectedLogos.Count(), TextsOf(memory).name,
                             KiloBytes(session.SelectedBytes), took.count()) +
                      more);
    session.DownloadIdle = true;
    session.PrintNoticePending = true;
    if (IsDriverConnection(handle) && PortEndDocument(handle) == 0) {
        PortClose(handle);
    }
}

void RunJob(Session& session, IDownloadPage& page, Memory memory) {
    const MemoryDescriptor& d = Describe(memory);
    const PortHandleValue handle = session.PortHandle;
    const int n = session.SelectedLogos.Count();
    page.SetProgressRange(0, 2 * n);
    ByteProgress progress(page, handle,
                          DownloadStreamBytes(memory, session.SelectedLogos.Entries()));
    if (d.opening != nullptr) {
        std::this_thread::sleep_for(session.Pauses().beforeFlashHeader);
        const auto opening = d.opening(n);
        if (!opening || Send(handle, *opening) == 0) {
            FailDownload(session, page, false);
            return;
        }
    }
    session.DownloadIdle = false;
    const Sending sending(handle);
    for (int i = 0; i < n; ++i) {
        page.SetProgressPosition(2 * i + 1);
        page.SetStatusText(msg::kDownloadingLogo + session.SelectedLogos.GetName(i));
        ConvertIfTrueColor(session, i);
        if (!d.sendLogo(handle, session.SelectedLogos.GetConvertedPath(i), i)) {
            FailDownload(session, page, true);
            return;
        }
        page.SetProgressPosition(2 * i + 2);
    }
    // Downloaded only once the printer has taken every byte (a network
    // printer's queue has emptied); other links delivered them with the writes.
    if (PortFlush(handle) == 0) {
        FailDownload(session, page, true);
        return;
    }
    progress.Delivered();
    RecordDownload(session, d);
    FinishDownload(session, page, handle, memory, sending);
}

// An NV download: the plan's writes, then — where the printer's keys were
// read — the check that it holds every logo, and the record of what it holds.
void RunNvJob(Session& session, IDownloadPage& page, NvPlan plan) {
    const PortHandleValue handle = session.PortHandle;
    const int n = session.SelectedLogos.Count();
    page.SetProgressRange(0, 2 * n);
    if (plan.NvWrites() > 0) {
        std::this_thread::sleep_for(session.Pauses().beforeFlashHeader);
    }
    const Sending sending(handle);
    ByteProgress progress(page, handle, NvStreamBytes(plan));
    const bool sent = SendNvPlan(session, handle, plan, [&session, &page](int i) {
        if (i > 0)
            page.SetProgressPosition(2 * i);
        page.SetProgressPosition(2 * i + 1);
        page.SetStatusText(msg::kDownloadingLogo + session.SelectedLogos.GetName(i));
    });
    if (!sent || PortFlush(handle) == 0) {
        FailDownload(session, page, n > 0 && sent);
        return;
    }
    page.SetProgressPosition(2 * n);
    progress.Delivered();
    std::optional<std::vector<std::string>> missing = std::vector<std::string>{};
    if (plan.printerKnown && !(missing = MissingNvKeys(handle, plan))) {
        FailDownload(session, page, true);  // the printer no longer answers
        return;
    }
    // A file that cannot be written is reported; the printer holds the logos all the same.
    RecordNvDownloadPlan(session, plan, *missing, session.KeepNvListFile);
    if (!missing->empty()) {
        ShowWarning(session, msg::kNvNotAllKept);
        ReportOutcome(session, msg::kOutcomeFailed);
        page.SetStatusText(msg::kDownloadProgress);
        page.SetDownloadEnabled(true);
        page.SetProgressPosition(0);
        session.DownloadIdle = true;
        return;
    }
    session.NvDownloaded = true;
    session.SetLastNvWrites({plan.Defined(), plan.Unchanged(), plan.Deleted(), plan.NvWrites()});
    FinishDownload(session, page, handle, kNvMemory, sending,
                   Localize(msg::kOutcomePartSeparator) + NvPlanSummary(plan));
}

// Header and data of one logo, or nothing when the file cannot be sent.
std::optional<ColumnImage> ReadLogo(PortHandleValue handle, const std::string& path, bool flash) {
    if (handle == kNoHandle) {
        return std::nullopt;
    }
    auto image = LoadColumnImage(path);
    if (!image) {
        return std::nullopt;
    }
    if (flash ? !FitsFlashCommand(image->stride, image->bands)
              : !FitsRamCommand(image->stride, image->bands)) {
        return std::nullopt;
    }
    return image;
}

}  // namespace

long long DownloadStreamBytes(Memory memory, const std::vector<LogoEntry>& logos) {
    const MemoryDescriptor& d = Describe(memory);
    long long bytes = d.openingBytes;  // NV: every logo, none unchanged
    for (const LogoEntry& e : logos)
        bytes += d.downloadBytes(e);
    return bytes;
}

bool SendFlashLogo(PortHandleValue handle, const std::string& path) {
    const auto image = ReadLogo(handle, path, true);
    if (!image) {
        return false;
    }
    const auto header = FlashLogoHeader(image->stride, image->bands);
    const bool headerSent = header && Send(handle, *header) != 0;
    const bool dataSent = Send(handle, image->data) != 0;
    return headerSent && dataSent;
}

bool SendRamLogo(PortHandleValue handle, const std::string& path, int number) {
    const auto select = SelectRamLogoCommand(number);
    if (!select) {
        return false;
    }
    const auto image = ReadLogo(handle, path, false);
    if (!image) {
        return false;
    }
    const auto define = DefineRamLogoCommand(image->stride, image->bands);
    const bool selected = Send(handle, *select) != 0;
    const bool defined = define && Send(handle, *define) != 0;
    const bool dataSent = Send(handle, image->data) != 0;
    return selected && defined && dataSent;
}

namespace {

// NV graphics: every limit first, then the plan (which asks the printer what
// it holds), then the question, which says how many NV writes it makes.
std::optional<NvPlan> PlanAndAskNv(Session& session, const IDownloadPage& page, int count) {
    const MemoryDescriptor& nv = Describe(kNvMemory);
    if (count > nv.mostLogos) {
        ShowInformation(session, nv.texts.holdsNoMore);
        return std::nullopt;
    }
    if (!EveryLogoFitsTheCommand(session, nv) ||
        !AcceptWidths(session, WiderThanPaper(session, session.SelectedLogos.Entries()))) {
        return std::nullopt;
    }
    NvPlan plan = PrepareNvDownload(session, session.PortHandle, page.ReplaceAllNv());
    if (!plan.fits) {
        // What the definitions take against what the printer said it has room for.
        const long long free = session.NvCapacityFree;
        const long long room = plan.replaceAll || free < 0 ? session.NvCapacityTotal.load() : free;
        RefuseOverCapacity(session, msg::kLogosTooLarge, plan.bytesSent, room);
        return std::nullopt;
    }
    if (!AskOkCancel(session, FormatText(msg::kAskDownloadNvWrites, plan.NvWrites()))) {
        return std::nullopt;
    }
    if (session.KeepNvListFile &&
        !ForgetWhatThePlanWrites(plan, session.StartDirectory, session.PrinterModel)) {
        const std::string file = NvSentFileName(session.StartDirectory, session.PrinterModel);
        ShowInformation(session, FormatText(msg::kNvListNotSaved, file.c_str()));
        return std::nullopt;
    }
    return plan;
}

}  // namespace

void StartDownload(Session& session, IDownloadPage& page) {
    if (!session.PortConfigured) {
        ShowInformation(session, msg::kConfigurePortFirst);
        return;
    }
    const Memory memory = page.Memory();
    const MemoryDescriptor& d = Describe(memory);
    const int n = session.SelectedCount;
    std::optional<NvPlan> plan;
    if (d.addressedByKey && n > 0) {
        if (!(plan = PlanAndAskNv(session, page, n)))
            return;
    } else {
        // Every limit before the question: nothing is asked that is then refused.
        if (n < 1) {
            ShowInformation(session, msg::kSelectLogosFirst);
            return;
        }
        if (!WithinCapacity(session, d, n, session.SelectedBytes) ||
            !EveryLogoFitsTheCommand(session, d) ||
            !AskOkCancel(session, d.texts.downloadQuestion) ||
            !AcceptWidths(session, WiderThanPaper(session, session.SelectedLogos.Entries()))) {
            return;
        }
    }
    page.SetDownloadEnabled(false);
    if (IsDriverConnection(session.PortHandle)) {
        if (PortStartDocument(session.PortHandle, session.PrintDocInfo) == 0) {
            PortClose(session.PortHandle);
            page.SetDownloadEnabled(true);
            return;
        }
        if (d.endsPrintNotice) {
            session.PrintNoticePending = false;
        }
    }
    // Marked busy before the worker starts, so no print can slip in while the
    // job waits before its first byte.
    session.DownloadIdle = false;
    if (plan) {
        session.Worker().Start(
            [&session, &page, nv = std::move(*plan)] { RunNvJob(session, page, nv); });
    } else {
        session.Worker().Start([&session, &page, memory] { RunJob(session, page, memory); });
    }
}

bool WaitForDownload(Session& session, std::chrono::milliseconds limit) {
    return session.Worker().Wait(limit);
}

}  // namespace stampa
