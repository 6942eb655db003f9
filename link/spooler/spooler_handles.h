// The handles the spooler link gives its connections, whichever spooler
// backs it (CUPS on Linux, the Windows print spooler).
#pragma once

#include "link/link_state.h"

namespace stampa {

PortHandleValue NextSpoolerHandle();

}  // namespace stampa
