// The spooler link: a printer queue of the system's print spooler, written to
// in raw mode so the command bytes reach the printer unchanged. On Linux the
// spooler is CUPS; the server is the default one (CUPS_SERVER is honoured). On
// Windows it is the print spooler: the local printers (EnumPrintersA, level 2)
// and RAW documents through OpenPrinterA, StartDocPrinterA and WritePrinter.
//
// What a spooler cannot tell: it accepts a job while the printer is unplugged
// and delivers it later, so a download through it is confirmed only as far as
// the spooler.
#pragma once

#include <string>
#include <vector>

#include "link/doc_info.h"
#include "link/link_error.h"
#include "link/link_state.h"

namespace stampa {

// The printer queues, in the order the spooler lists them. `ok` tells whether
// the spooler could be asked at all.
std::vector<std::string> EnumeratePrinters(bool* ok = nullptr);

// Whether a queue qualifies for the driver link: its name contains
// BaseDriverName (case-sensitive).
bool QualifiesForDriverLink(const std::string& printerName, const std::string& baseDriverName);

// The qualifying queues, in enumeration order.
std::vector<std::string> QualifyingPrinters(const std::string& baseDriverName, bool* ok = nullptr);

// Opens a queue by name and registers it; the handle, or -1 for an unknown name
// or an unreachable spooler. Documents are started, written and ended through
// PortStartDocument, PortWrite and PortEndDocument; a failed or short write
// ends the document and closes the printer.
PortHandleValue OpenPrinter(const std::string& name, LinkError* why = nullptr);

}  // namespace stampa
