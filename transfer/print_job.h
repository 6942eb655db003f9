// The print job: prints logos already stored in the printer, by number, at one
// of four sizes, optionally each under a label line. Runs on the caller's
// (user-interface) thread and refuses to run while a download is sending.
#pragma once

#include "link/link_state.h"
#include "transfer/job_pages.h"
#include "transfer/session.h"

namespace stampa {

// The print button's handler; reports by message boxes. It prints from the
// page's memory; NV graphics print like FLASH logos, by the key of each logo.
void PrintLogos(Session& session, IPrintPage& page);

// "=============== LOGO n" and LF. False for a number outside 0..256 or a
// failed text write; otherwise the result of the LF.
bool SendLogoLabel(PortHandleValue handle, int number);

// Dots a logo of `height` pixels takes on paper at `scalingMode`.
int PrintedHeight(int height, int scalingMode);

}  // namespace stampa
