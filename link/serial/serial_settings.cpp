#include "link/serial/serial_settings.h"

namespace stampa {

Dcb BuildDcb(const Dcb& reported, int baud, int dataBits, int stopBits, int parity, int flowMode) {
    Dcb d = reported;
    // Every mode; unchanged, this is the DTR/DSR mode.
    d.BaudRate = static_cast<std::uint32_t>(baud);
    d.ByteSize = static_cast<std::uint8_t>(dataBits);
    d.StopBits = static_cast<std::uint8_t>(stopBits);
    d.Parity = static_cast<std::uint8_t>(parity);
    d.fOutxCtsFlow = false;
    d.fOutxDsrFlow = true;
    d.fDtrControl = kControlEnable;
    d.fOutX = false;
    d.fInX = false;
    d.fRtsControl = kControlDisable;
    if (flowMode == 0) {  // RTS/CTS
        d.fOutxCtsFlow = true;
        d.fOutxDsrFlow = false;
        d.fDtrControl = kControlDisable;
        d.fRtsControl = kControlEnable;
    } else if (flowMode == 1) {  // Xon/Xoff
        d.fOutxDsrFlow = false;
        d.fDtrControl = kControlDisable;
        d.fOutX = true;
        d.fInX = true;
        d.XonChar = 0x11;
        d.XoffChar = 0x13;
    }
    return d;
}

CommTimeouts LinkTestTimeouts() {
    return {0xFFFFFFFF, 0, 0, 1000, 200};
}

CommTimeouts LongTimeouts() {
    return {0xFFFFFFFF, 0, 0, 50000, 90000};
}

}  // namespace stampa
