#include "workflows/startup.h"

#include <filesystem>

#include "common/language.h"
#include "common/messages.h"
#include "common/operator.h"
#include "link/link_state.h"
#include "link/port.h"
#include "logos/stored_list.h"
#include "transfer/session.h"

#include "workflows/config_file.h"

namespace stampa {

bool BindRuntimeLibraries(const RuntimeLibraryFiles& files) {
    return BindPixmelt(files.pixmelt) && BindUsbLibrary(files.usb);
}

void UnbindRuntimeLibraries() {
    UnbindUsbLibrary();
    UnbindPixmelt();
}

void ChooseLanguageAtStart() {
    SetLanguage(LanguageFromEnvironment(ReadWorkingConfiguration().language));
}

bool StartUp(Session& session, const RuntimeLibraryFiles& files) {
    session.PrintDocInfo = DefaultPrintDocInfo();
    std::error_code error;
    session.StartDirectory = std::filesystem::current_path(error).string();
    if (!BindRuntimeLibraries(files)) {
        UnbindRuntimeLibraries();
        ShowPlain(session, msg::kLibrariesNotLoaded);
        return false;
    }
    return true;
}

bool MayShutDown(const Session& session) {
    if (!session.DownloadIdle) {
        ShowPlain(session, msg::kDownloadRunning);
        return false;
    }
    return true;
}

void CloseLink(Session& session) {
    PortClose(session.PortHandle, static_cast<PortKindValue>(session.PortKind.load()));
    session.PortHandle = kNoHandle;
    if (session.FlashDownloaded && !session.PrinterModel.empty()) {
        SaveLogoList(session, StoredLogoFileName(session.StartDirectory, session.PrinterModel));
    }
}

void ShutDown(Session& session) {
    CloseLink(session);
    UnbindRuntimeLibraries();
}

}  // namespace stampa
