#include "app/stampa_app.h"

#include "app/main_sheet.h"
#include "app/qt_operator.h"

namespace stampa {

bool CStampaApp::Start(QtOperator* messageBoxes) {
    sheet_ = new CMainSheet(session_);
    if (!StartUp(session_, files_)) {  // the loading message has no window to sit on
        delete sheet_;
        sheet_ = nullptr;
        return false;
    }
    messageBoxes_ = messageBoxes;
    if (messageBoxes_ != nullptr) {
        messageBoxes_->SetParent(sheet_);
    }
    return true;
}

void CStampaApp::RunSheet() {
    sheet_->exec();
}

void CStampaApp::ShutDown() {
    stampa::ShutDown(session_);
    if (messageBoxes_ != nullptr) {
        messageBoxes_->SetParent(nullptr);
    }
    delete sheet_;
    sheet_ = nullptr;
}

int CStampaApp::Run(QtOperator* messageBoxes) {
    if (!Start(messageBoxes)) {
        return 1;
    }
    RunSheet();
    ShutDown();
    return 0;
}

}  // namespace stampa
