// The device control block in the system's own DCB. The fields keep their
// names and values, so the copy is one to one; the block also asks for binary
// mode and parity checking when it has parity.
#pragma once

#include <windows.h>

#include "link/serial/serial_settings.h"

namespace stampa {

// Sets the fields of `dcb` (as GetCommState gave it) that the block names.
void ApplyDcb(const Dcb& block, DCB& dcb);

// The block's fields as the port reports them.
Dcb ReportedDcb(const DCB& dcb);

COMMTIMEOUTS ToWin32Timeouts(const CommTimeouts& timeouts);

}  // namespace stampa
