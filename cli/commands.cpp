#include "cli/commands.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <mutex>

#include "cli/cli_io.h"
#include "cli/fleet.h"
#include "cli/json_report.h"
#include "common/language.h"
#include "common/messages.h"
#include "common/outcome.h"
#include "common/text_format.h"
#include "link/link_error.h"
#include "link/link_state.h"
#include "link/port.h"
#include "link/serial/serial_link.h"
#include "link/spooler/spooler_link.h"
#include "link/usb/usb_library.h"
#include "link/usb/usb_link.h"
#include "logos/bitmap_reader.h"
#include "logos/logo_store.h"
#include "logos/nv_list.h"
#include "logos/stored_list.h"
#include "protocol/commands.h"
#include "transfer/download_job.h"
#include "transfer/memory.h"
#include "transfer/nv_delete.h"
#include "transfer/nv_download.h"
#include "transfer/nv_rows.h"
#include "transfer/paper_width.h"
#include "transfer/print_job.h"
#include "transfer/session.h"
#include "transfer/test_print.h"
#include "workflows/config_file.h"
#include "workflows/connect.h"
#include "workflows/memory_lists.h"
#include "workflows/pick.h"
#include "workflows/preview.h"
#include "workflows/printer_answers.h"
#include "workflows/printer_profiles.h"
#include "workflows/startup.h"

namespace stampa::cli {
namespace {

// The connect workflow has told the operator why it failed; this is the exit status.
int ConnectStatus(LinkOpenResult result) {
    switch (result) {
        case LinkOpenResult::Opened:
            return kDone;
        case LinkOpenResult::NoLinkChosen:
            return kUsage;
        case LinkOpenResult::DocumentRefused:
            std::fprintf(stderr, "%s\n", msg::kCliDocumentRefused);
            return kCommunicationFailure;
        default:
            return kCommunicationFailure;
    }
}

// The select page's pick; false, after naming each refused file, when a file
// was refused. The page drops files past the 255th silently; a command line
// refuses them rather than send fewer logos than it was given.
bool PickFiles(Session& session, const std::vector<std::string>& files) {
    const PickOutcome outcome = PickLogos(session, files);
    for (const std::string& file : outcome.refused) {
        std::fprintf(stderr, "%s\n", FormatText(msg::kCliRefusedFile, file.c_str()).c_str());
    }
    if (outcome.dropped > 0) {
        std::fprintf(stderr, "%s\n", Localize(msg::kFlashHolds255));
    }
    return outcome.refused.empty() && outcome.dropped == 0;
}

// After the system's message for a failed link: the device, the reason and the remedy.
void ExplainLinkFailure(const Session& session) {
    const LinkError error = LastLinkError(session);
    if (error.step != LinkStep::None) {
        std::fprintf(stderr, "%s\n", DescribeLinkError(error).c_str());
    }
}

// The mark a successful download into `memory` leaves.
bool Downloaded(const Session& session, stampa::Memory memory) {
    return session.*Describe(memory).downloaded;
}

void PrintLogoLines(const std::vector<LogoEntry>& entries,
                    const std::vector<std::string>& numbers) {
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const LogoEntry& e = entries[i];
        std::printf("%3s  %-24s %5u x %-5u %4d K  %s\n", numbers[i].c_str(), e.name.c_str(),
                    e.width, e.height, KiloBytes(e.size), e.path.c_str());
    }
}

int Outcome(const CliOperator& op) {
    if (op.SawWarning())
        return kCommunicationFailure;
    return (op.SawRefusal() || op.AnsweredCancel()) ? kRefused : kDone;
}

// The width rules a command gives its session: a profile of its own, strictness.
void UseWidthRules(Session& session, const std::string& profile, bool strict) {
    session.PaperProfile = profile;
    session.StrictWidth = strict;
}

// A job's start on picture files: start-up, the paper width's rules, and the
// files picked. False, with the session shut down again, when one fails.
bool StartWithFiles(Session& session, const std::vector<std::string>& files,
                    const std::string& profile, bool strictWidth) {
    if (!StartUp(session))
        return false;
    UseWidthRules(session, profile, strictWidth);
    if (!PickFiles(session, files)) {
        ShutDown(session);
        return false;
    }
    return true;
}

// NV graphics where the model's profile says the printer has none: refused,
// unless forced. True when the download may go on.
bool NvGraphicsAllowed(const Session& session, stampa::Memory memory, bool force) {
    if (!Describe(memory).addressedByKey || session.PrinterNvGraphics != false || force)
        return true;
    std::fprintf(stderr, "stampa-cli: %s%s\n", Localize(msg::kNoNvGraphicsOnModel),
                 msg::kCliForceNv);
    return false;
}

// A connection as the configuration page's OK makes it. The exit status; on
// failure everything is shut down.
int ConnectOrShutDown(Session& session, const std::string& model, const LinkSettings& link) {
    const int status = ConnectStatus(Connect(session, ModelOrDefault(model), link));
    if (status == kCommunicationFailure)
        ExplainLinkFailure(session);
    if (status != kDone)
        ShutDown(session);
    return status;
}

}  // namespace

int RunConvert(const ConvertOptions& o) {
    if (!BindPixmelt()) {
        std::fprintf(stderr, "%s\n", Localize(msg::kLibrariesNotLoaded));
        return kRefused;
    }
    int dots = 0;
    if (o.fitWidth) {
        const ModelPaper paper = PaperOfModel(ProgramProfiles(), ReadWorkingConfiguration(),
                                              ModelOrDefault(o.model), o.profile);
        if (!paper.dots) {
            UnbindPixmelt();
            std::fprintf(stderr, "stampa-cli: %s\n", msg::kCliNoPaperWidth);
            return kRefused;
        }
        dots = *paper.dots;
    }
    const PixmeltConversion conversion =
        FitAndConvert(o.input, dots, o.method, o.contrast, o.brightness);
    UnbindPixmelt();
    switch (conversion.result) {
        case kPixmeltWritten:
        case kPixmeltAlreadyMono:
            std::printf("%s\n", conversion.outputPath.c_str());
            return kDone;
        case kPixmeltNotAcceptable:
            std::fprintf(stderr, "%s\n", Localize(msg::kNotABitmapForUs));
            return kRefused;
        default:
            std::fprintf(stderr, "%s\n",
                         FormatText(msg::kCliCannotConvert, o.input.c_str()).c_str());
            return kRefused;
    }
}

namespace {

// The download page of one link among many: progress goes to the parent.
class ReportingPage final : public IDownloadPage {
  public:
    ReportingPage(stampa::Memory memory, bool replaceAllNv, LinkReporter& reporter)
        : memory_(memory), replaceAllNv_(replaceAllNv), reporter_(reporter) {}
    stampa::Memory Memory() const override { return memory_; }
    bool ReplaceAllNv() const override { return replaceAllNv_; }
    void SetDownloadEnabled(bool) override {}
    void SetStatusText(const std::string& text) override {
        std::lock_guard lock(mutex_);
        status_ = text;
    }
    void SetProgressRange(int, int high) override {
        std::lock_guard lock(mutex_);
        high_ = high;
    }
    void SetProgressPosition(int position) override {
        std::lock_guard lock(mutex_);
        if (position > 0)
            reporter_.Progress(position, high_, status_);
    }

  private:
    std::mutex mutex_;
    stampa::Memory memory_;
    bool replaceAllNv_;
    LinkReporter& reporter_;
    int high_ = 0;
    std::string status_;
};

// The outcome the jobs report for the sheet's status line, kept while it
// lives: the session's reports come here (from the download worker as well).
class OutcomeCapture {
  public:
    explicit OutcomeCapture(Session& session) : session_(session) {
        session.Outcome = [this](const std::string& text) {
            std::lock_guard lock(mutex_);
            last_ = text;
        };
    }
    ~OutcomeCapture() { session_.Outcome = {}; }
    std::string Last() const {
        std::lock_guard lock(mutex_);
        return last_;
    }

  private:
    Session& session_;
    mutable std::mutex mutex_;
    std::string last_;
};

// Why a link's job failed: the system's message, and the reason when the
// link gave one; whole in `detail`, apart for --json.
void NoteFailure(LinkJobResult& result, const CliOperator& op, const Session& session) {
    result.message = op.LastMessage();
    const LinkError error = LastLinkError(session);
    if (error.step != LinkStep::None)
        result.reason = DescribeLinkError(error);
    result.detail = result.message + (result.reason.empty() ? "" : " (" + result.reason + ")");
}

// --json: the object of a printer that could not be reached or asked.
void PrintFailureJson(const std::string& link, const CliOperator& op, const Session& session,
                      const std::string& message = {}) {
    LinkJobResult failure;
    NoteFailure(failure, op, session);
    LinkOutcome o;
    o.link = link;
    o.message = message.empty() ? failure.message : message;
    o.reason = failure.reason;
    PrintJson(OutcomeJson(o));
}

// One line (or JSON object) per link; true when every link succeeded.
bool ReportOutcomes(const std::vector<LinkOutcome>& outcomes, bool json) {
    bool all = true;
    for (const LinkOutcome& outcome : outcomes) {
        if (json)
            PrintJson(OutcomeJson(outcome));
        else
            std::printf("%s\n", OutcomeLine(outcome).c_str());
        all = all && outcome.ok;
    }
    return all;
}

// On a link's own thread, with a session of its own: connect, download, and
// leave the stored-logo file to the command.
LinkJobResult DownloadOnOneLink(const Session& picked, const std::string& model,
                                const LinkSettings& link, const DownloadOptions& o,
                                LinkReporter& reporter) {
    const stampa::Memory memory = o.memory;
    CliOperator quiet(true, true);
    LinkJobResult result;
    Session session;
    session.Operator = &quiet;
    CopyPick(picked, session);
    session.KeepNvListFile = false;
    const OutcomeCapture outcome(session);
    if (Connect(session, model, link) == LinkOpenResult::Opened) {
        ReportingPage page(memory, o.replaceAll, reporter);
        StartDownload(session, page);
        WaitForDownload(session);
        result.ok = Downloaded(session, memory);
    }
    if (!result.ok) {
        NoteFailure(result, quiet, session);
    } else if (Describe(memory).addressedByKey) {
        result.detail = outcome.Last();  // what this printer's NV memory was written
        result.nv = session.LastNvWrites();
    }
    result.bytes = PortBytesWritten(session.PortHandle);
    session.FlashDownloaded = false;  // the command writes the files, once every link succeeded
    CloseLink(session);
    return result;
}

// Every link at once: picked, asked and converted once, then a thread per link.
int RunFleetDownload(const DownloadOptions& o) {
    CliOperator op(o.yes);
    Session session;
    if (!StartUp(session))
        return kRefused;
    UseWidthRules(session, o.profile, o.strictWidth);
    session.PrinterModel = ModelOrDefault(o.model);
    UseModelPaper(session);
    if (!NvGraphicsAllowed(session, o.memory, o.force)) {
        ShutDown(session);
        return kRefused;
    }
    // Asked once for every printer (each printer's own job then goes on).
    if (!PickFiles(session, o.files) || !AskOkCancel(TextsOf(o.memory).downloadQuestion) ||
        !AcceptWidths(session, WiderThanPaper(session, session.SelectedLogos.Entries()))) {
        ShutDown(session);
        return kRefused;
    }
    for (int i = 0; i < session.SelectedLogos.Count(); ++i)
        ConvertIfTrueColor(session, i);
    const std::string model = ModelOrDefault(o.model);
    const std::vector<LinkOutcome> outcomes =
        RunOnEveryLink(o.linkNames, o.links, [&](const LinkSettings& link, LinkReporter& r) {
            return DownloadOnOneLink(session, model, link, o, r);
        });
    const bool all = ReportOutcomes(outcomes, o.json);
    if (all && Describe(o.memory).storedFile != nullptr) {
        CopyLogoList(session.SelectedLogos, session.FlashLogos);
        SaveLogoList(session, StoredLogoFileName(session.StartDirectory, model));
    }
    if (Describe(o.memory).addressedByKey) {
        std::vector<std::string> okLinks;
        for (std::size_t i = 0; i < outcomes.size(); ++i) {
            if (outcomes[i].ok)
                okLinks.push_back(LinkPortName(o.links[i]));
        }
        session.PrinterModel = model;
        RecordNvFleetDownload(session, okLinks, all, o.replaceAll);
    }
    ShutDown(session);
    return all ? kDone : kCommunicationFailure;
}

PrintChoices ChoicesOf(const Session& session, const PrintOptions& o) {
    PrintChoices page;
    page.memory = o.memory;
    page.scaling = o.scaling;
    page.label = o.label;
    if (!o.logos.empty()) {
        page.range = kPrintPart;
        page.rows = RowsOfLogoNumbers(session, o.memory, o.logos);
    }
    return page;
}

int RunFleetPrint(const PrintOptions& o) {
    CliOperator op(true);
    Session session;
    if (!StartUp(session))
        return kRefused;
    UseWidthRules(session, o.profile, o.strictWidth);
    const std::string model = ModelOrDefault(o.model);
    const bool all = ReportOutcomes(
        RunOnEveryLink(o.linkNames, o.links,
                       [&](const LinkSettings& link, LinkReporter&) {
                           CliOperator quiet(true, true);
                           LinkJobResult result;
                           Session printer;
                           printer.Operator = &quiet;
                           CopyPick(session, printer);
                           if (Connect(printer, model, link) == LinkOpenResult::Opened) {
                               PrintChoices page = ChoicesOf(printer, o);
                               PrintLogos(printer, page);
                               result.ok = !quiet.SawWarning() && !quiet.SawRefusal();
                           }
                           if (!result.ok)
                               NoteFailure(result, quiet, printer);
                           result.bytes = PortBytesWritten(printer.PortHandle);
                           CloseLink(printer);
                           return result;
                       }),
        o.json);
    ShutDown(session);
    return all ? kDone : kCommunicationFailure;
}

}  // namespace

int RunDownload(const DownloadOptions& o) {
    if (o.links.size() > 1 || o.json)  // --json: an object for the printer, as for many
        return RunFleetDownload(o);
    CliOperator op(o.yes);
    Session session;
    if (!StartWithFiles(session, o.files, o.profile, o.strictWidth))
        return kRefused;
    if (const int status = ConnectOrShutDown(session, o.model, o.links.front()); status != kDone)
        return status;
    if (!NvGraphicsAllowed(session, o.memory, o.force)) {
        ShutDown(session);
        return kRefused;
    }
    ProgressPage page(o.memory, o.replaceAll);
    const OutcomeCapture outcome(session);
    StartDownload(session, page);
    WaitForDownload(session);
    page.Finish();
    if (Downloaded(session, o.memory)) {
        std::printf("%s\n",
                    FormatText(CountedText(msg::kCliDownloaded, session.SelectedLogos.Count()),
                               session.SelectedLogos.Count(), TextsOf(o.memory).name,
                               session.PortName.c_str())
                        .c_str());
        if (Describe(o.memory)
                .addressedByKey)  // what was written: "...; NV: 1 defined, 2 unchanged, ..."
            std::printf("%s\n", outcome.Last().c_str());
    }
    if (op.SawWarning())
        ExplainLinkFailure(session);
    ShutDown(
        session);  // after FLASH, writes the model's stored-logo file, as the program does at exit
    return Outcome(op);
}

namespace {

// The picked files as a test print takes them: each 1-bit file, converted
// where it is not one. Nothing when one cannot be converted (said on stderr).
std::optional<std::vector<TestPrintLogo>> DirectLogos(const Session& session, int method) {
    std::vector<TestPrintLogo> logos;
    for (const LogoEntry& e : session.SelectedLogos.Entries()) {
        std::string path = e.path;
        if (!IsMonoBitmap(path, session)) {
            const PixmeltConversion c = ConvertBitmap(path, method < 0 ? 1 : method, 0, 0);
            if (c.result != kPixmeltWritten) {
                std::fprintf(stderr, "%s\n",
                             FormatText(msg::kCliCannotConvert, e.name.c_str()).c_str());
                return std::nullopt;
            }
            path = c.outputPath;
        }
        logos.push_back({e.name, path});
    }
    return logos;
}

// print --direct: the files printed at once, on the first link given.
int RunDirectPrint(const PrintOptions& o) {
    CliOperator op(true);
    Session session;
    if (!StartWithFiles(session, o.files, o.profile, o.strictWidth))
        return kRefused;
    const auto logos = DirectLogos(session, o.method);
    if (!logos) {
        ShutDown(session);
        return kRefused;
    }
    if (const int status = ConnectOrShutDown(session, o.model, o.links.front()); status != kDone) {
        if (o.json)
            PrintFailureJson(o.linkNames.front(), op, session);
        return status;
    }
    const OutcomeCapture outcome(session);
    const auto start = std::chrono::steady_clock::now();
    const bool printed = TestPrint(session, *logos, o.scaling, o.label);
    if (o.json) {
        LinkOutcome result;
        result.link = o.linkNames.front();
        result.ok = printed;
        result.bytes = PortBytesWritten(session.PortHandle);
        result.seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (!printed) {
            LinkJobResult failure;
            NoteFailure(failure, op, session);
            result.message = failure.message;
            result.reason = failure.reason;
        }
        PrintJson(OutcomeJson(result));
    } else if (printed) {
        std::printf("%s\n", outcome.Last().c_str());
    }
    if (op.SawWarning())
        ExplainLinkFailure(session);
    ShutDown(session);
    return Outcome(op);
}

}  // namespace

int RunPrint(const PrintOptions& o) {
    if (o.direct)
        return RunDirectPrint(o);
    if (o.links.size() > 1 || o.json)
        return RunFleetPrint(o);
    CliOperator op(true);
    Session session;
    if (!StartUp(session))
        return kRefused;
    UseWidthRules(session, o.profile, o.strictWidth);
    if (const int status = ConnectOrShutDown(session, o.model, o.links.front()); status != kDone)
        return status;
    PrintChoices page = ChoicesOf(session, o);
    PrintLogos(session, page);
    if (op.SawWarning())
        ExplainLinkFailure(session);
    ShutDown(session);
    return Outcome(op);
}

int RunNvDelete(const NvDeleteOptions& o) {
    CliOperator op(o.yes);
    Session session;
    if (!StartUp(session))
        return kRefused;
    if (const int status = ConnectOrShutDown(session, o.model, o.link); status != kDone)
        return status;
    std::vector<std::string> keys;
    for (int number : o.numbers)
        keys.push_back(NvKeyOf(number));
    if (DeleteNvLogos(session, o.all, keys))
        std::printf("%s\n", FormatText(msg::kCliNvDeleted, session.PortName.c_str()).c_str());
    if (op.SawWarning())
        ExplainLinkFailure(session);
    ShutDown(session);
    return Outcome(op);
}

namespace {

// Why a question failed, as stderr says it.
const char* QuestionFailure(QueryResult result) {
    switch (result) {
        case QueryResult::CannotRead:
            return msg::kCliCannotRead;
        case QueryResult::Garbled:
            return Localize(msg::kPrinterAnswerGarbled);
        default:
            return msg::kCliNoAnswer;
    }
}

// The exit status of a question, with the reason on stderr when it failed.
int AnswerStatus(const Session& session, QueryResult result) {
    if (result == QueryResult::Answered)
        return kDone;
    std::fprintf(stderr, "stampa-cli: %s\n", QuestionFailure(result));
    if (result == QueryResult::CannotRead)
        return kRefused;
    if (result != QueryResult::Garbled)
        ExplainLinkFailure(session);
    return kCommunicationFailure;
}

// What a question gives: its result, and its answers for --json.
using Question = std::function<QueryResult(Session&, Json& answers)>;

// Connects as the configuration page does, asks, and shuts down again. With
// --json one object: link, ok, the answers, or the message and reason.
int AskPrinter(const QueryOptions& o, const Question& ask) {
    CliOperator op(true);
    Session session;
    if (!StartUp(session))
        return kRefused;
    if (const int status = ConnectOrShutDown(session, o.model, o.link); status != kDone) {
        if (o.json)
            PrintFailureJson(o.linkName, op, session);
        return status;
    }
    Json answers = Json::object();
    const QueryResult result =
        CanAskPrinter(session) ? ask(session, answers) : QueryResult::CannotRead;
    const int status = AnswerStatus(session, result);
    if (o.json && result == QueryResult::Answered) {
        Json object = {{"link", o.linkName}, {"ok", true}};
        object.update(answers);
        PrintJson(object);
    } else if (o.json) {
        PrintFailureJson(o.linkName, op, session, QuestionFailure(result));
    }
    ShutDown(session);
    return status;
}

}  // namespace

int RunStatus(const QueryOptions& o) {
    return AskPrinter(o, [&o](Session& session, Json& answers) {
        PrinterStatus s;
        const QueryResult result = QueryStatus(session.PortHandle, s);
        if (result != QueryResult::Answered)
            return result;
        const char* paper = s.paperEnd ? "end" : (s.paperNearEnd ? "near-end" : "ok");
        answers = {{"online", !s.offline}, {"coverOpen", s.coverOpen}, {"paper", paper}};
        if (!o.json)
            std::printf("online %s\ncover %s\npaper %s\n", s.offline ? "no" : "yes",
                        s.coverOpen ? "open" : "closed", paper);
        return result;
    });
}

int RunNvCapacity(const QueryOptions& o) {
    return AskPrinter(o, [&o](Session& session, Json& answers) {
        const QueryResult result = RefreshNvCapacity(session);
        if (result != QueryResult::Answered)
            return result;
        answers = {{"total", session.NvCapacityTotal.load()},
                   {"free", session.NvCapacityFree.load()}};
        if (!o.json)
            std::printf("total %lld\nfree %lld\n", session.NvCapacityTotal.load(),
                        session.NvCapacityFree.load());
        return result;
    });
}

int RunNvList(const QueryOptions& o) {
    return AskPrinter(o, [&o](Session& session, Json& answers) {
        const QueryResult result = RefreshPrinterNvKeys(session);
        if (result != QueryResult::Answered)
            return result;
        Json graphics = Json::array();
        for (const NvRow& row : NvRows(session)) {
            const bool known = row.entry.name != kUnknownNvName;
            graphics.push_back({{"key", row.key}, {"name", known ? Json(row.entry.name) : Json()}});
            if (!o.json)
                std::printf("%s%s%s\n", row.key.c_str(), known ? "\t" : "",
                            known ? row.entry.name.c_str() : "");
        }
        answers = {{"graphics", graphics}};
        return result;
    });
}

namespace {

Json LogosJson(const MemoryListing& listing) {
    Json logos = Json::array();
    for (std::size_t i = 0; i < listing.entries.size(); ++i) {
        const LogoEntry& e = listing.entries[i];
        logos.push_back({{"number", listing.numbers[i]},
                         {"name", e.name},
                         {"width", e.width},
                         {"height", e.height},
                         {"bytes", e.size},
                         {"path", e.path}});
    }
    return logos;
}

}  // namespace

int RunList(const std::string& model, bool json) {
    Session session;
    session.StartDirectory = std::filesystem::current_path().string();
    session.PrinterModel = ModelOrDefault(model);
    ReloadStoredFlashLogos(session);
    ReloadNvLogos(session);
    const MemoryListing flash = PrintListing(session, kFlashMemory);
    if (json) {
        PrintJson({{"model", session.PrinterModel},
                   {"flash", LogosJson(flash)},
                   {"nv", LogosJson(PrintListing(session, kNvMemory))}});
        return kDone;
    }
    std::printf("%s\n",
                FormatText(CountedText(msg::kCliStoredList, std::ssize(flash.entries)),
                           session.PrinterModel.c_str(), static_cast<int>(flash.entries.size()))
                    .c_str());
    PrintLogoLines(flash.entries, flash.numbers);
    const MemoryListing nv = PrintListing(session, kNvMemory);
    if (!nv.entries.empty()) {
        std::printf("%s\n",
                    FormatText(CountedText(msg::kCliNvList, std::ssize(nv.entries)),
                               session.PrinterModel.c_str(), static_cast<int>(nv.entries.size()))
                        .c_str());
        PrintLogoLines(nv.entries, nv.numbers);
    }
    return kDone;
}

int RunPorts(bool json) {
    Json serial = Json::array(), usb = Json::array(), drivers = Json::array();
    for (const auto& [name, device] : SerialPortMap())
        serial.push_back({{"link", "serial:" + name}, {"device", device}});
    const bool usbBound = BindUsbLibrary();
    if (usbBound) {
        for (int device : UsbProbeDevices())
            usb.push_back("usb:" + std::to_string(device));
        UnbindUsbLibrary();
    }
    const std::string base = ReadWorkingConfiguration().baseDriverName;
    bool ok = false;
    const auto printers = QualifyingPrinters(base, &ok);
    if (json) {
        for (const std::string& name : printers)
            drivers.push_back("driver:" + name);
        PrintJson({{"serial", serial},
                   {"usb", usb},
                   {"usbLibrary", usbBound},
                   {"driver", drivers},
                   {"spoolerAsked", ok},
                   {"network", "tcp:HOST[:PORT]"}});
        return kDone;
    }
    for (const auto& [name, device] : SerialPortMap()) {
        std::printf("serial:%s  %s\n", name.c_str(), device.c_str());
    }
    std::printf("usb:");
    if (usbBound) {
        for (const Json& device : usb)
            std::printf(" %s", device.get<std::string>().c_str());
    } else {
        std::printf(" (%s)", Localize(msg::kLibrariesNotLoaded));
    }
    std::printf("\n");
    std::printf("driver (names containing \"%s\"):", base.c_str());
    for (const std::string& name : printers)
        std::printf(" driver:%s", name.c_str());
    std::printf("%s\n", ok ? "" : msg::kCliSpoolerUnreachable);
    std::printf("%s\n", msg::kCliNetworkPorts);
    return kDone;
}

namespace {

template <typename T>
std::string KnownOr(const std::optional<T>& value, const char* format) {
    if (!value)
        return "?";
    char text[32];
    std::snprintf(text, sizeof text, format, *value);
    return text;
}

std::string Feature(const char* name, const std::optional<bool>& has) {
    return std::string(name) + ":" + (has ? (*has ? "yes" : "no") : "?");
}

}  // namespace

int RunProfiles() {
    const ProfileDatabase profiles = ProgramProfiles();
    if (!profiles.error.empty()) {
        std::fprintf(stderr, "stampa-cli: %s\n", profiles.error.c_str());
        return kRefused;
    }
    for (const PrinterProfile& p : profiles.profiles) {
        std::printf("%-18s %-16s %5s dots %6s mm  %s %s %s\n", p.id.c_str(), p.vendor.c_str(),
                    KnownOr(p.widthDots, "%d").c_str(), KnownOr(p.widthMm, "%g").c_str(),
                    Feature("graphics", p.graphics).c_str(),
                    Feature("raster", p.bitImageRaster).c_str(),
                    Feature("column", p.bitImageColumn).c_str());
    }
    return kDone;
}

}  // namespace stampa::cli
