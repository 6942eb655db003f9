// Bytes for a printer of the print spooler go in one document, so the spooler
// hands them to the printer as one job; other links write them directly.
#pragma once

#include <functional>

#include "link/port.h"

namespace stampa {

// Runs `send` inside a spooler document on `handle` when it is a driver
// connection (started with `info`), else just runs it. A document that cannot
// be started or ended closes the connection. False when the document could
// not be started (nothing was sent); otherwise what `send` returned.
bool SendInSpoolerDocument(PortHandleValue handle, const DocInfo& info,
                           const std::function<bool()>& send);

}  // namespace stampa
