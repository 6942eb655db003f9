// CStampaApp: the program's start and end. Notes the working directory, binds
// Pixmelt and the USB library by name, runs the main sheet, and at the end
// closes the link, saves the FLASH list and unloads the libraries.
#pragma once

#include <string>

#include "app/runtime_libraries.h"
#include "link/usb_library.h"

namespace stampa {

class CMainSheet;

struct StartupFiles {
    std::string pixmelt = kPixmeltLibraryFile;
    std::string usb = kUsbLibraryFile;
};

class CStampaApp {
  public:
    explicit CStampaApp(StartupFiles files = {}) : files_(std::move(files)) {}

    // Start-up until the sheet is ready; false (after the loading message)
    // when a library cannot be bound.
    bool Start();
    // Runs the sheet modally.
    void RunSheet();
    // Closes the link, saves the FLASH list when due, unloads the libraries.
    void ShutDown();
    // All three; the exit status (non-zero when start-up failed).
    int Run();

    CMainSheet* Sheet() const { return sheet_; }

  private:
    StartupFiles files_;
    CMainSheet* sheet_ = nullptr;
};

}  // namespace stampa
