#include "transfer/print_job.h"

#include <cctype>
#include <string>

#include "common/language.h"
#include "common/messages.h"
#include "common/operator.h"
#include "common/outcome.h"
#include "common/text_format.h"
#include "link/port.h"
#include "link/senders.h"
#include "logos/logo_store.h"
#include "protocol/commands.h"
#include "transfer/memory.h"
#include "transfer/nv_rows.h"
#include "transfer/paper_width.h"
#include "transfer/spooler_document.h"

namespace stampa {
namespace {

// What printing one stored logo takes.
struct StoredLogo {
    int number = 0;   // FS p's n, GS #'s n; for NV graphics the label's number
    std::string key;  // NV graphics: the key printed
    LogoEntry entry;  // its name and size
};

// The logos a memory holds, as the print page lists them.
std::vector<StoredLogo> StoredLogosOf(const Session& session, const MemoryDescriptor& d) {
    std::vector<StoredLogo> logos;
    if (d.addressedByKey) {
        for (const NvRow& row : NvRows(session)) {
            const bool digits = std::isdigit(static_cast<unsigned char>(row.key[0])) &&
                                std::isdigit(static_cast<unsigned char>(row.key[1]));
            logos.push_back({digits ? std::stoi(row.key) : -1, row.key, row.entry});
        }
        return logos;
    }
    const bool fromFile = d.storedFile != nullptr && !(session.*d.downloaded);
    const CLogoList& list = fromFile ? session.*d.storedFile : session.*d.held;
    for (const LogoEntry& e : list.Entries()) {
        const int p = static_cast<int>(logos.size());
        logos.push_back({d.firstNumber + p, {}, e});
    }
    return logos;
}

bool SendLabel(PortHandleValue handle, const std::string& name) {
    const std::string text = "=============== LOGO " + name;
    if (PortWrite(handle, reinterpret_cast<const unsigned char*>(text.data()),
                  static_cast<int>(text.size())) == 0) {
        return false;
    }
    return SendLineFeed(handle) != 0;
}

// Prints one logo; false when an examined write failed.
bool PrintOne(PortHandleValue handle, const IPrintPage& page, const StoredLogo& logo,
              const MemoryDescriptor& d) {
    const int mode = page.ScalingMode();
    if (page.PrintLabel()) {
        // A key of another tool's that is not a number is shown as it is.
        logo.number >= 0 ? SendLogoLabel(handle, logo.number) : SendLabel(handle, logo.key);
        if (SendLineFeed(handle) == 0) {
            return false;
        }
    }
    SendVerticalOffset(handle, PrintedHeight(static_cast<int>(logo.entry.height), mode));
    d.sendPrint(handle, mode, logo.number, logo.key);
    return SendLineFeed(handle) != 0;
}

void PrintFrom(const Session& session, IPrintPage& page, const MemoryDescriptor& d) {
    const PortHandleValue handle = session.PortHandle;
    const std::vector<StoredLogo> logos = StoredLogosOf(session, d);
    const int n = static_cast<int>(logos.size());
    if (n == 0) {
        ShowInformation(session, d.texts.downloadFirst);
        return;
    }
    page.SetPrintEnabled(false);
    std::vector<int> rows;
    if (page.Range() == kPrintAll) {
        for (int p = 0; p < n; ++p)
            rows.push_back(p);
    } else {
        for (int p : page.SelectedRows()) {
            if (p >= 0 && p < n)
                rows.push_back(p);
        }
        if (rows.empty()) {
            ShowInformation(session, msg::kSelectLogosToPrint);
            page.SetPrintEnabled(true);
            return;
        }
    }
    // Double width (modes 1 and 3) doubles every logo across the paper.
    const int mode = page.ScalingMode();
    std::vector<LogoEntry> printed;
    for (int row : rows)
        printed.push_back(logos[static_cast<std::size_t>(row)].entry);
    if (!AcceptWidths(
            session,
            WiderThanPaper(session, printed,
                           mode == kDoubleWidth || mode == kDoubleWidthAndHeight ? 2 : 1))) {
        page.SetPrintEnabled(true);
        return;
    }
    // CAN's result counts for the stored memories only; then each logo; then FF.
    bool ok = SendCancel(handle) != 0 || !d.cancelCounts;
    for (std::size_t i = 0; ok && i < rows.size(); ++i) {
        ok = PrintOne(handle, page, logos[static_cast<std::size_t>(rows[i])], d);
    }
    // Printed only once the printer has taken the bytes (a network printer's
    // queue has emptied); every other link has delivered them with the writes.
    if (!ok || SendFormFeed(handle) == 0 || PortFlush(handle) == 0) {
        ShowWarning(session, msg::kCommunicationFailed);
        ReportOutcome(session, msg::kOutcomeFailed);
    } else {
        ReportOutcome(session, FormatText(CountedText(msg::kPrintedFormat, std::ssize(rows)),
                                          static_cast<int>(rows.size())));
    }
    page.SetPrintEnabled(true);
}

}  // namespace

int PrintedHeight(int height, int scalingMode) {
    return ((height + 7) / 8) * (scalingMode / 2 + 1) * 8;
}

bool SendLogoLabel(PortHandleValue handle, int number) {
    if (number < 0 || number > 256) {
        return false;
    }
    return SendLabel(handle, std::to_string(number));
}

void PrintLogos(Session& session, IPrintPage& page) {
    if (!session.PortConfigured) {
        ShowInformation(session, msg::kSetPortFirst);
        return;
    }
    if (!session.DownloadIdle) {
        ShowPlain(session, msg::kDownloadRunning);
        return;
    }
    if (IsDriverConnection(session.PortHandle) && session.PrintNoticePending) {
        ShowPlain(session, msg::kPleaseWaitPrinting);
        session.PrintNoticePending = false;
    }
    SendInSpoolerDocument(session.PortHandle, session.PrintDocInfo, [&] {
        PrintFrom(session, page, Describe(page.Memory()));
        return true;
    });
}

}  // namespace stampa
