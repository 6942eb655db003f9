#include "cli/commands.h"

#include <cstdio>
#include <filesystem>

#include "cli/cli_io.h"
#include "common/messages.h"
#include "common/text_format.h"
#include "link/link_error.h"
#include "link/link_state.h"
#include "link/serial_link.h"
#include "link/spooler_link.h"
#include "link/usb_library.h"
#include "link/usb_link.h"
#include "logos/logo_lists.h"
#include "logos/stored_list.h"
#include "transfer/download_job.h"
#include "transfer/print_job.h"
#include "transfer/transfer_state.h"
#include "workflows/config_file.h"
#include "workflows/connect.h"
#include "workflows/memory_lists.h"
#include "workflows/pick.h"
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
bool PickFiles(const std::vector<std::string>& files) {
    const PickOutcome outcome = PickLogos(files);
    for (const std::string& file : outcome.refused) {
        std::fprintf(stderr, "%s\n", FormatText(msg::kCliRefusedFile, file.c_str()).c_str());
    }
    if (outcome.dropped > 0) {
        std::fprintf(stderr, "%s\n", msg::kFlashHolds255);
    }
    return outcome.refused.empty() && outcome.dropped == 0;
}

// After the system's message for a failed link: the device, the reason and the remedy.
void ExplainLinkFailure() {
    const LinkError error = LastLinkError();
    if (error.step != LinkStep::None) {
        std::fprintf(stderr, "%s\n", DescribeLinkError(error).c_str());
    }
}

int Outcome(const CliOperator& op) {
    if (op.SawWarning())
        return kCommunicationFailure;
    return (op.SawRefusal() || op.AnsweredCancel()) ? kRefused : kDone;
}

// A connection as the configuration page's OK makes it. The exit status; on
// failure everything is shut down.
int ConnectOrShutDown(const std::string& model, const LinkSettings& link) {
    const int status = ConnectStatus(Connect(ModelOrDefault(model), link));
    if (status == kCommunicationFailure)
        ExplainLinkFailure();
    if (status != kDone)
        ShutDown();
    return status;
}

}  // namespace

int RunConvert(const ConvertOptions& o) {
    if (!BindPixmelt()) {
        std::fprintf(stderr, "%s\n", msg::kLibrariesNotLoaded);
        return kRefused;
    }
    const PixmeltConversion conversion = ConvertBitmap(o.input, o.method, o.contrast, o.brightness);
    UnbindPixmelt();
    switch (conversion.result) {
        case kPixmeltWritten:
        case kPixmeltAlreadyMono:
            std::printf("%s\n", conversion.outputPath.c_str());
            return kDone;
        case kPixmeltNotAcceptable:
            std::fprintf(stderr, "%s\n", msg::kNotABitmapForUs);
            return kRefused;
        default:
            std::fprintf(stderr, "%s\n",
                         FormatText(msg::kCliCannotConvert, o.input.c_str()).c_str());
            return kRefused;
    }
}

int RunDownload(const DownloadOptions& o) {
    CliOperator op(o.yes);
    if (!StartUp())
        return kRefused;
    if (!PickFiles(o.files)) {
        ShutDown();
        return kRefused;
    }
    if (const int status = ConnectOrShutDown(o.model, o.link); status != kDone)
        return status;
    ProgressPage page(o.memory);
    StartDownload(page);
    WaitForDownload();
    page.Finish();
    const bool flash = o.memory == kFlashMemory;
    if (flash ? FlashDownloaded : RamDownloaded) {
        std::printf("%s\n", FormatText(msg::kCliDownloaded, SelectedLogos.Count(),
                                       flash ? "FLASH" : "RAM", PortName.c_str())
                                .c_str());
    }
    if (op.SawWarning())
        ExplainLinkFailure();
    ShutDown();  // after FLASH, writes the model's stored-logo file, as the program does at exit
    return Outcome(op);
}

int RunPrint(const PrintOptions& o) {
    CliOperator op(true);
    if (!StartUp())
        return kRefused;
    if (const int status = ConnectOrShutDown(o.model, o.link); status != kDone)
        return status;
    PrintChoices page;
    page.memory = o.memory;
    page.scaling = o.scaling;
    page.label = o.label;
    if (!o.logos.empty()) {
        page.range = kPrintPart;
        page.rows = RowsOfLogoNumbers(o.memory, o.logos);
    }
    PrintLogos(page);
    if (op.SawWarning())
        ExplainLinkFailure();
    ShutDown();
    return Outcome(op);
}

int RunList(const std::string& model) {
    StartDirectory = std::filesystem::current_path().string();
    PrinterModel = ModelOrDefault(model);
    ReloadStoredFlashLogos(StartDirectory, PrinterModel);
    const auto entries = StoredFlashLogos.Entries();
    std::printf("%s\n",
                FormatText(msg::kCliStoredList, PrinterModel.c_str(), entries.size()).c_str());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const LogoEntry& e = entries[i];
        std::printf("%3zu  %-24s %5u x %-5u %4d K  %s\n", i + 1, e.name.c_str(), e.width, e.height,
                    KiloBytes(e.size), e.path.c_str());
    }
    return kDone;
}

int RunPorts() {
    for (const auto& [name, device] : SerialPortMap()) {
        std::printf("serial:%s  %s\n", name.c_str(), device.c_str());
    }
    std::printf("usb:");
    if (BindUsbLibrary()) {
        for (int device : UsbProbeDevices())
            std::printf(" usb:%d", device);
        UnbindUsbLibrary();
    } else {
        std::printf(" (%s)", msg::kLibrariesNotLoaded);
    }
    std::printf("\n");
    const std::string base = ReadWorkingConfiguration().baseDriverName;
    bool ok = false;
    const auto printers = QualifyingPrinters(base, &ok);
    std::printf("driver (names containing \"%s\"):", base.c_str());
    for (const std::string& name : printers)
        std::printf(" driver:%s", name.c_str());
    std::printf("%s\n", ok ? "" : msg::kCliSpoolerUnreachable);
    return kDone;
}

}  // namespace stampa::cli
