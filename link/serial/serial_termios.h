// The device control block in Linux termios terms:
//  - RTS/CTS (fOutxCtsFlow) -> CRTSCTS.
//  - Xon/Xoff (fOutX, fInX) -> IXON | IXOFF with VSTART XonChar, VSTOP XoffChar.
//  - DTR/DSR: Linux has no DSR output flow control. The port raises DTR, and the
//    writer waits before each byte (within that byte's time-out) until DSR is
//    on; a device without modem lines (a pseudo-terminal) acts as if it had no
//    flow control.
//  - Parity and stop bits -> PARENB, PARODD, CSTOPB; 8 data bits -> CS8.
//  - Raw mode: no echo, no line editing, no output processing; CLOCAL | CREAD;
//    HUPCL off, so closing the port does not drop the printer's lines.
#pragma once

#include <termios.h>

#include <optional>

#include "link/serial/serial_settings.h"

namespace stampa {

// The termios speed constant of a baud rate; nullopt for a rate Linux lacks.
std::optional<speed_t> SpeedOf(std::uint32_t baud);

// Sets `t` (as tcgetattr gave it) to the block's line settings. False when the
// block asks for something the port cannot do (an unknown speed or byte size).
bool ApplyDcb(const Dcb& dcb, termios& t);

}  // namespace stampa
