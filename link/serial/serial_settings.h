// Serial line settings: the device control block the serial link sets up and
// its time-outs.
//
// The block keeps the field names and values of the Win32 serial
// communications interface the program was designed on: on Windows it is
// copied into the system's DCB (serial_win32_dcb.h), on Linux a pure function
// maps it to termios (serial_termios.h).
#pragma once

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

}  // namespace stampa
