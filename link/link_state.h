// The process-wide state of the printer link: the one open connection, the
// kind of link chosen on the configuration page, and what the other pages
// show of the connection.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>

#include "link/doc_info.h"

namespace stampa {

// The kinds of link. The values are those of the configuration page's link buttons.
enum PortKindValue : std::int32_t {
    kNoLink = -1,
    kSerialLink = 0,
    kParallelLink = 1,
    kDriverLink = 2,
    kUsbLink = 3,
    kNetworkLink = 4,
};

// A link handle as the pages and jobs pass it around; -1 is none.
using PortHandleValue = std::intptr_t;
inline constexpr PortHandleValue kNoHandle = -1;

// The open link, kNoHandle while none is open. Written by the connect
// workflow; read by every job, the download worker included.
extern std::atomic<PortHandleValue> PortHandle;

// The link chosen on the configuration page; starts at serial. Changes with
// every click on a link button, also while a download runs, hence atomic.
extern std::atomic<std::int32_t> PortKind;

// A link was opened and tested by the connect workflow.
extern std::atomic<bool> PortConfigured;

// The port or device name of the connection, shown on the download and print pages.
extern std::string PortName;

// The serial link's baud rate, for the download page's time estimate; 0 for
// the other links.
extern std::atomic<std::int32_t> PortBaudRate;

// Passed with every spooler document ("My Document", no output file, "RAW").
extern DocInfo PrintDocInfo;

// The document description every spooler document carries.
DocInfo DefaultPrintDocInfo();

// Back to the start values (tests).
void ResetLinkState();

}  // namespace stampa
