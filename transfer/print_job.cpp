#include "transfer/print_job.h"

#include <string>

#include "common/messages.h"
#include "common/operator.h"
#include "link/commands.h"
#include "link/port.h"
#include "logos/logo_lists.h"
#include "transfer/transfer_state.h"

namespace stampa {
namespace {

// Prints logo p of the source list; false when an examined write failed.
bool PrintOne(PortHandleValue handle, const IPrintPage& page, const CLogoList& source, int p,
              bool flash) {
    const int mode = page.ScalingMode();
    if (page.PrintLabel()) {
        SendLogoLabel(handle, flash ? p + 1 : p);
        if (SendLineFeed(handle) == 0) {
            return false;
        }
    }
    SendVerticalOffset(handle, PrintedHeight(static_cast<int>(source.GetHeight(p)), mode));
    if (flash) {
        SendPrintFlashLogo(handle, mode, p + 1);
    } else {
        SendPrintRamLogo(handle, mode, p);
    }
    return SendLineFeed(handle) != 0;
}

void PrintFrom(IPrintPage& page, bool flash) {
    const PortHandleValue handle = PortHandle;
    const CLogoList& source = flash ? (FlashDownloaded ? FlashLogos : StoredFlashLogos) : RamLogos;
    const int n = source.Count();
    if (n == 0) {
        ShowInformation(flash ? msg::kDownloadToFlashFirst : msg::kDownloadToRamFirst);
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
            ShowInformation(msg::kSelectLogosToPrint);
            page.SetPrintEnabled(true);
            return;
        }
    }
    // CAN's result counts for FLASH only; then each logo; then FF.
    bool ok = SendCancel(handle) != 0 || !flash;
    for (std::size_t i = 0; ok && i < rows.size(); ++i) {
        ok = PrintOne(handle, page, source, rows[i], flash);
    }
    // Printed only once the printer has taken the bytes (a network printer's
    // queue has emptied); every other link has delivered them with the writes.
    if (!ok || SendFormFeed(handle) == 0 || PortFlush(handle) == 0) {
        ShowWarning(msg::kCommunicationFailed);
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
    const std::string text = "=============== LOGO " + std::to_string(number);
    if (PortWrite(handle, reinterpret_cast<const unsigned char*>(text.data()),
                  static_cast<int>(text.size())) == 0) {
        return false;
    }
    return SendLineFeed(handle) != 0;
}

void PrintFlashLogos(IPrintPage& page) {
    PrintFrom(page, true);
}

void PrintRamLogos(IPrintPage& page) {
    PrintFrom(page, false);
}

void PrintLogos(IPrintPage& page) {
    if (!PortConfigured) {
        ShowInformation(msg::kSetPortFirst);
        return;
    }
    if (!DownloadIdle) {
        ShowPlain(msg::kDownloadRunning);
        return;
    }
    const bool driver = IsDriverConnection(PortHandle);
    if (driver) {
        if (PrintNoticePending) {
            ShowPlain(msg::kPleaseWaitPrinting);
            PrintNoticePending = false;
        }
        if (PortStartDocument(PortHandle, PrintDocInfo) == 0) {
            PortClose(PortHandle);
            return;
        }
    }
    if (page.Memory() == kRamMemory) {
        PrintRamLogos(page);
    } else {
        PrintFlashLogos(page);
    }
    if (driver && PortEndDocument(PortHandle) == 0) {
        PortClose(PortHandle);
    }
}

}  // namespace stampa
