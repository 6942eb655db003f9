#include "workflows/connect.h"

#include "common/messages.h"
#include "common/operator.h"
#include "common/outcome.h"
#include "common/text_format.h"
#include "link/link_state.h"
#include "link/port.h"
#include "link/spooler/spooler_link.h"
#include "link/usb/usb_link.h"
#include "logos/nv_list.h"
#include "logos/stored_list.h"
#include "transfer/nv_rows.h"
#include "transfer/session.h"
#include "workflows/printer_profiles.h"

namespace stampa {
namespace {

// The reason under the message box's text: the device or address, the step,
// the system's reason and what to do about it.
std::string WhyItFailed(const LinkError& error) {
    return error.step == LinkStep::None ? std::string() : DescribeLinkError(error);
}

}  // namespace

namespace {

void Publish(Session& session, const std::string& model, const LinkSettings& settings,
             PortHandleValue handle) {
    session.PortHandle = handle;
    session.PortKind = settings.kind;
    session.PortConfigured = true;
    session.PrinterModel = model;
    UseModelPaper(session);
    session.PortName = LinkPortName(settings);
    session.PortBaudRate = settings.kind == kSerialLink ? settings.baud : 0;
    ReloadStoredFlashLogos(session);
    ReloadNvLogos(session);
    session.RamDownloaded = false;
    session.NvDownloaded = false;
    session.NvCapacityTotal = -1;  // another printer, perhaps: ask again
    session.NvCapacityFree = -1;
    session.SetPrinterNvKeys(std::nullopt);
    session.FlashDownloaded = false;
}

}  // namespace

bool ModelHasUsbAndDriverLinks(const std::string& model) {
    return model != "RP-810";
}

Configuration BeginConfiguration(Session& session, const std::string& serialPort) {
    Configuration configuration = ReadWorkingConfiguration();
    session.PrinterModel = configuration.DefaultModel();
    UseModelPaper(session);
    session.PortName = serialPort;
    return configuration;
}

void UseModelPaper(Session& session) {
    const ProfileDatabase profiles = ProgramProfiles();
    if (!profiles.error.empty())
        ShowPlain(session, profiles.error);  // the checks are skipped, nothing else
    const ModelPaper paper = PaperOfModel(profiles, ReadWorkingConfiguration(),
                                          session.PrinterModel, session.PaperProfile);
    session.PaperDots = paper.dots.value_or(0);
    session.PrinterNvGraphics = paper.graphics;
}

std::vector<std::string> ChooseDriverLink(const Session& session,
                                          const std::string& baseDriverName) {
    bool asked = false;
    std::vector<std::string> printers = QualifyingPrinters(baseDriverName, &asked);
    if (printers.empty() && asked) {
        ShowPlain(session, msg::kNoDriverFound);
    }
    return printers;
}

std::vector<int> ChooseUsbLink() {
    return UsbProbeDevices();
}

LinkOpenResult Connect(Session& session, const std::string& model, const LinkSettings& settings) {
    if (!session.DownloadIdle) {  // the worker is writing to the open link
        ShowPlain(session, msg::kDownloadRunning);
        return LinkOpenResult::NotNow;
    }
    if (settings.kind == kNoLink) {
        ShowExclamation(session, msg::kNoLinkChosen);
        return LinkOpenResult::NoLinkChosen;
    }
    if (session.FlashDownloaded && !session.PrinterModel.empty()) {
        SaveLogoList(session, StoredLogoFileName(session.StartDirectory,
                                                 session.PrinterModel));  // under the old model
    }
    if (session.PortHandle != kNoHandle) {
        PortClose(session.PortHandle);
        session.PortHandle = kNoHandle;
    }
    session.PortKind = settings.kind;  // the link tried, before it opens: a failed
                                       // parallel open is undone by its kind
    LinkSettings opened = settings;
    opened.timings = session.timings;  // the session's waits
    opened.parallel = session.parallel;
    const LinkOpenOutcome outcome = OpenAndTestLink(opened, session.PrintDocInfo);
    session.OpenFailure = outcome.error;
    switch (outcome.result) {
        case LinkOpenResult::Opened:
            Publish(session, model, settings, outcome.handle);
            ReportOutcome(session, FormatText(msg::kConnectedFormat, model.c_str(),
                                              session.PortName.c_str()));
            break;
        case LinkOpenResult::DriverNotOpened:
            ShowExclamation(session, msg::kDriverNotOpened, WhyItFailed(outcome.error));
            ReportOutcome(session, msg::kOutcomeFailed);
            break;
        case LinkOpenResult::DocumentRefused:
            break;
        default:
            ShowExclamation(session, msg::kConnectionFailed, WhyItFailed(outcome.error));
            ReportOutcome(session, msg::kOutcomeFailed);
            session.PortConfigured = false;
            break;
    }
    return outcome.result;
}

}  // namespace stampa
