// Serial line settings: the device control block the serial link sets up, its
// time-outs, and their translation to Linux termios.
//
// The block keeps the field names of the serial communications interface the
// program was designed on, so its rules read as they are meant; a second pure
// function maps it to termios:
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

#include <cstdint>
#include <optional>

namespace stampa {

// The fields the serial link acts on; a field would be added here only with
// the code that reads it.
struct Dcb {
    std::uint32_t BaudRate = 9600;
    std::uint8_t ByteSize = 8;
    std::uint8_t StopBits = 0;  // 0 one, 1 one and a half, 2 two
    std::uint8_t Parity = 0;    // 0 none, 1 odd, 2 even, 3 mark, 4 space
    bool fOutxCtsFlow = false;
    bool fOutxDsrFlow = false;
    std::uint8_t fDtrControl = 0;  // 0 disable, 1 enable, 2 handshake
    bool fOutX = false;
    bool fInX = false;
    char XonChar = 0x11;
    char XoffChar = 0x13;
    std::uint8_t fRtsControl = 0;  // 0 disable, 1 enable, 2 handshake, 3 toggle
    bool operator==(const Dcb&) const = default;
};

inline constexpr std::uint8_t kControlDisable = 0;
inline constexpr std::uint8_t kControlEnable = 1;

// The block the serial link sets from its six parameters, starting from what the
// port reported (fields not named keep those values). Flow modes: 0 RTS/CTS,
// 1 Xon/Xoff, anything else DTR/DSR.
Dcb BuildDcb(const Dcb& reported, int baud, int dataBits, int stopBits, int parity, int flowMode);

// Write time-outs, in milliseconds: a write of n bytes may take
// multiplier x n + constant. The serial link writes one byte a call.
struct CommTimeouts {
    std::uint32_t ReadIntervalTimeout = 0xFFFFFFFF;  // reads return what is there at once
    std::uint32_t ReadTotalTimeoutMultiplier = 0;
    std::uint32_t ReadTotalTimeoutConstant = 0;
    std::uint32_t WriteTotalTimeoutMultiplier = 0;
    std::uint32_t WriteTotalTimeoutConstant = 0;
    std::uint32_t ByteTimeoutMs() const {
        return WriteTotalTimeoutMultiplier + WriteTotalTimeoutConstant;
    }
    bool operator==(const CommTimeouts&) const = default;
};

// While the link is tested: 1000 ms per byte plus 200 ms a call.
CommTimeouts LinkTestTimeouts();
// After a successful test: 50000 ms per byte plus 90000 ms a call.
CommTimeouts LongTimeouts();

// The termios speed constant of a baud rate; nullopt for a rate Linux lacks.
std::optional<speed_t> SpeedOf(std::uint32_t baud);

// Sets `t` (as tcgetattr gave it) to the block's line settings. False when the
// block asks for something the port cannot do (an unknown speed or byte size).
bool ApplyDcb(const Dcb& dcb, termios& t);

}  // namespace stampa
