#include "app/stampa_app.h"

#include <filesystem>

#include "app/main_sheet.h"
#include "app/program_state.h"
#include "common/operator.h"
#include "link/messages.h"
#include "link/port.h"
#include "logos/stored_list.h"
#include "transfer/download_job.h"
#include "transfer/transfer_state.h"

namespace stampa {

bool CStampaApp::Start() {
    StartDirectory.clear();
    PrintDocInfo = DefaultPrintDocInfo();
    std::error_code error;
    StartDirectory = std::filesystem::current_path(error).string();
    sheet_ = new CMainSheet;
    if (!BindRuntimeLibraries(files_.pixmelt, files_.usb)) {
        UnbindRuntimeLibraries();
        ShowPlain(msg::kLibrariesNotLoaded);
        delete sheet_;
        sheet_ = nullptr;
        return false;
    }
    return true;
}

void CStampaApp::RunSheet() {
    sheet_->exec();
}

void CStampaApp::ShutDown() {
    PortClose(PortHandle);
    PortHandle = kNoHandle;
    if (FlashDownloaded && !PrinterModel.empty()) {
        SaveLogoList(StoredLogoFileName(StartDirectory, PrinterModel));
    }
    UnbindRuntimeLibraries();
    delete sheet_;
    sheet_ = nullptr;
}

int CStampaApp::Run() {
    if (!Start()) {
        return 1;
    }
    RunSheet();
    ShutDown();
    return 0;
}

}  // namespace stampa
