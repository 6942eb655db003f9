// Program-wide state that the start-up code and the pages set up and own.
// The logo lists live in logos/, the link in link/, the download marks in
// transfer/; ResetProgramState() (app/reset_state.h) returns all of it to the
// start values.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>

#include "link/doc_info.h"

namespace stampa {

// Start-up: the working directory when the program started; the folder of the
// stored-logo files, whatever the file dialog makes the working directory later.
extern std::string StartDirectory;

// Start-up: passed with every spooler document ("My Document", no output file, "RAW").
extern DocInfo PrintDocInfo;

// Configuration page: the chosen printer model (also the stored-logo file's
// name) and the port or device name of the connection, shown on other pages.
extern std::string PrinterModel;
extern std::string PortName;

// Configuration page: a link was opened and tested.
extern std::atomic<bool> PortConfigured;

// Select page: the file dialog was confirmed at least once; the number of
// picked logos and the sum of their 1-bit sizes.
extern std::atomic<bool> LogosPicked;
extern std::atomic<std::int32_t> SelectedCount;
extern std::atomic<std::int32_t> SelectedBytes;

// Preview page: position of the logo shown, -1 for none.
extern std::atomic<std::int32_t> CurrentLogo;

// The document description every spooler document carries.
DocInfo DefaultPrintDocInfo();

// Back to the start values: the items above only.
void ResetAppState();

}  // namespace stampa
