#include "cli/commands.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "app/config_file.h"
#include "app/program_state.h"
#include "app/runtime_libraries.h"
#include "cli/cli_io.h"
#include "link/messages.h"
#include "link/port.h"
#include "link/serial_link.h"
#include "link/spooler_link.h"
#include "link/usb_library.h"
#include "link/usb_link.h"
#include "logos/bitmap_reader.h"
#include "logos/logo_lists.h"
#include "logos/stored_list.h"
#include "transfer/download_job.h"
#include "transfer/print_job.h"
#include "transfer/transfer_state.h"

namespace stampa::cli {
namespace {

// The program's start: the working directory as StartDirectory, the libraries
// bound by name, the model chosen as on the configuration page.
bool StartUp(const std::string& model) {
    StartDirectory = std::filesystem::current_path().string();
    PrinterModel =
        model.empty() ? ReadConfiguration(ConfigurationPath(StartDirectory)).DefaultModel() : model;
    if (!BindRuntimeLibraries()) {
        std::fprintf(stderr, "%s\n", msg::kLibrariesNotLoaded);
        return false;
    }
    return true;
}

// Opens and tests the link as the configuration page's OK does.
int Connect(const LinkSettings& settings) {
    const LinkOpenOutcome outcome = OpenAndTestLink(settings, PrintDocInfo);
    switch (outcome.result) {
        case LinkOpenResult::Opened:
            PortHandle = outcome.handle;
            PortKind = settings.kind;
            PortConfigured = true;
            PortName = LinkPortName(settings);
            return kDone;
        case LinkOpenResult::NoLinkChosen:
            std::fprintf(stderr, "%s\n", msg::kNoLinkChosen);
            return kUsage;
        case LinkOpenResult::DriverNotOpened:
            std::fprintf(stderr, "%s\n", msg::kDriverNotOpened);
            return kCommunicationFailure;
        case LinkOpenResult::DocumentRefused:
            std::fprintf(stderr, "the spooler refused the document\n");
            return kCommunicationFailure;
        case LinkOpenResult::NotAvailable:
            std::fprintf(stderr, "this kind of link is not available in this build\n");
            return kUsage;
        default:
            std::fprintf(stderr, "%s\n", msg::kConnectionFailed);
            return kCommunicationFailure;
    }
}

// The select page's checks for each file; false when one is refused.
bool PickFiles(const std::vector<std::string>& files) {
    for (const std::string& file : files) {
        const std::string path = std::filesystem::absolute(file).string();
        if (!IsMonoBitmap(path) && !IsTrueColorBitmap(path)) {
            std::fprintf(stderr, "%s (%s)\n", msg::kNotABitmapForUs, file.c_str());
            return false;
        }
        const int position = SelectedLogos.Length();
        SelectedLogos.Append(position, std::filesystem::path(path).filename().string(), path, path,
                             0, 0, 0, 0);
        ReadBitmapGeometry(position);
        SelectedBytes = SelectedBytes + static_cast<std::int32_t>(SelectedLogos.GetSize(position));
    }
    SelectedCount = SelectedLogos.Count();
    LogosPicked = true;
    return true;
}

int Outcome(const CliOperator& op) {
    if (op.SawWarning())
        return kCommunicationFailure;
    return (op.SawRefusal() || op.AnsweredCancel()) ? kRefused : kDone;
}

void Disconnect() {
    PortClose(PortHandle);
    PortHandle = kNoHandle;
    UnbindRuntimeLibraries();
}

}  // namespace

int RunConvert(const ConvertOptions& o) {
    if (!BindPixmelt()) {
        std::fprintf(stderr, "%s\n", msg::kLibrariesNotLoaded);
        return kRefused;
    }
    char output[PIXMELT_OUTPUT_PATH_SIZE] = {};
    const int result = CallPixmelt(o.input.c_str(), output, o.method, o.contrast, o.brightness);
    UnbindRuntimeLibraries();
    switch (result) {
        case kPixmeltWritten:
        case kPixmeltAlreadyMono:
            std::printf("%s\n", output);
            return kDone;
        case kPixmeltNotAcceptable:
            std::fprintf(stderr, "%s\n", msg::kNotABitmapForUs);
            return kRefused;
        default:
            std::fprintf(stderr, "cannot read %s or write its converted file\n", o.input.c_str());
            return kRefused;
    }
}

int RunDownload(const DownloadOptions& o) {
    CliOperator op(o.yes);
    if (!StartUp(o.model))
        return kRefused;
    if (!PickFiles(o.files))
        return kRefused;
    if (const int status = Connect(o.link); status != kDone)
        return status;
    ProgressPage page(o.memory);
    StartDownload(page);
    WaitForDownload();
    page.Finish();
    const bool flash = o.memory == kFlashMemory;
    if (flash ? FlashDownloaded : RamDownloaded) {
        if (flash) {
            // As the program does at exit: the model's stored-logo file.
            SaveLogoList(StoredLogoFileName(StartDirectory, PrinterModel));
        }
        std::printf("%d logos downloaded to %s on %s\n", SelectedLogos.Count(),
                    flash ? "FLASH" : "RAM", PortName.c_str());
    }
    Disconnect();
    return Outcome(op);
}

int RunPrint(const PrintOptions& o) {
    CliOperator op(true);
    if (!StartUp(o.model))
        return kRefused;
    ReloadStoredFlashLogos(StartDirectory, PrinterModel);
    if (const int status = Connect(o.link); status != kDone)
        return status;
    PrintChoices page;
    page.memory = o.memory;
    page.scaling = o.scaling;
    page.label = o.label;
    if (!o.logos.empty()) {
        page.range = kPrintPart;
        for (int number : o.logos)
            page.rows.push_back(o.memory == kFlashMemory ? number - 1 : number);
        std::sort(page.rows.begin(), page.rows.end());
    }
    PrintLogos(page);
    Disconnect();
    return Outcome(op);
}

int RunList(const std::string& model) {
    StartDirectory = std::filesystem::current_path().string();
    PrinterModel =
        model.empty() ? ReadConfiguration(ConfigurationPath(StartDirectory)).DefaultModel() : model;
    ReloadStoredFlashLogos(StartDirectory, PrinterModel);
    const auto entries = StoredFlashLogos.Entries();
    std::printf("%s: %zu logos in FLASH\n", PrinterModel.c_str(), entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const LogoEntry& e = entries[i];
        std::printf("%3zu  %-24s %5u x %-5u %4u K  %s\n", i + 1, e.name.c_str(), e.width, e.height,
                    (e.size + 500) / 1000, e.path.c_str());
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
    const std::string base =
        ReadConfiguration(ConfigurationPath(std::filesystem::current_path().string()))
            .baseDriverName;
    bool ok = false;
    const auto printers = QualifyingPrinters(base, &ok);
    std::printf("driver (names containing \"%s\"):", base.c_str());
    for (const std::string& name : printers)
        std::printf(" driver:%s", name.c_str());
    std::printf("%s\n", ok ? "" : " (the spooler could not be asked)");
    return kDone;
}

}  // namespace stampa::cli
