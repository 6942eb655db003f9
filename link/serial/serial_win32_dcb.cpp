#include "link/serial/serial_win32_dcb.h"

namespace stampa {

void ApplyDcb(const Dcb& b, DCB& d) {
    d.DCBlength = sizeof(DCB);
    d.BaudRate = b.BaudRate;
    d.ByteSize = b.ByteSize;
    d.StopBits = b.StopBits;  // ONESTOPBIT, ONE5STOPBITS, TWOSTOPBITS
    d.Parity = b.Parity;      // NOPARITY .. SPACEPARITY
    d.fBinary = TRUE;
    d.fParity = b.Parity != NOPARITY;
    d.fOutxCtsFlow = b.fOutxCtsFlow;
    d.fOutxDsrFlow = b.fOutxDsrFlow;
    d.fDtrControl = b.fDtrControl;  // DTR_CONTROL_DISABLE, _ENABLE, _HANDSHAKE
    d.fOutX = b.fOutX;
    d.fInX = b.fInX;
    d.XonChar = b.XonChar;
    d.XoffChar = b.XoffChar;
    d.fRtsControl = b.fRtsControl;  // RTS_CONTROL_DISABLE, _ENABLE, _HANDSHAKE, _TOGGLE
}

Dcb ReportedDcb(const DCB& d) {
    Dcb b;
    b.BaudRate = d.BaudRate;
    b.ByteSize = d.ByteSize;
    b.StopBits = d.StopBits;
    b.Parity = d.Parity;
    b.fOutxCtsFlow = d.fOutxCtsFlow;
    b.fOutxDsrFlow = d.fOutxDsrFlow;
    b.fDtrControl = static_cast<std::uint8_t>(d.fDtrControl);
    b.fOutX = d.fOutX;
    b.fInX = d.fInX;
    b.XonChar = d.XonChar;
    b.XoffChar = d.XoffChar;
    b.fRtsControl = static_cast<std::uint8_t>(d.fRtsControl);
    return b;
}

COMMTIMEOUTS ToWin32Timeouts(const CommTimeouts& t) {
    COMMTIMEOUTS c{};
    c.ReadIntervalTimeout = t.ReadIntervalTimeout;
    c.ReadTotalTimeoutMultiplier = t.ReadTotalTimeoutMultiplier;
    c.ReadTotalTimeoutConstant = t.ReadTotalTimeoutConstant;
    c.WriteTotalTimeoutMultiplier = t.WriteTotalTimeoutMultiplier;
    c.WriteTotalTimeoutConstant = t.WriteTotalTimeoutConstant;
    return c;
}

}  // namespace stampa
