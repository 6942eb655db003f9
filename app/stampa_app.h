// CStampaApp: the program's start and end around the main sheet. The steps
// themselves are the start-up and shut-down workflows, shared with stampa-cli.
#pragma once

#include "workflows/startup.h"

namespace stampa {

class CMainSheet;
class QtOperator;

class CStampaApp {
  public:
    explicit CStampaApp(RuntimeLibraryFiles files = {}) : files_(std::move(files)) {}

    // Start-up until the sheet is ready; false (after the loading message)
    // when a library cannot be bound. Message boxes of `messageBoxes`, when
    // given, are centred on and modal to the sheet from then on.
    bool Start(QtOperator* messageBoxes = nullptr);
    // Runs the sheet modally.
    void RunSheet();
    // Closes the link, saves the FLASH list when due, unloads the libraries.
    void ShutDown();
    // All three; the exit status (non-zero when start-up failed).
    int Run(QtOperator* messageBoxes = nullptr);

    CMainSheet* Sheet() const { return sheet_; }
    // The program's one printer session.
    Session& CurrentSession() { return session_; }

  private:
    RuntimeLibraryFiles files_;
    Session session_;
    CMainSheet* sheet_ = nullptr;
    QtOperator* messageBoxes_ = nullptr;
};

}  // namespace stampa
