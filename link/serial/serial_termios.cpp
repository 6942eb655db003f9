#include "link/serial/serial_termios.h"

namespace stampa {

std::optional<speed_t> SpeedOf(std::uint32_t baud) {
    switch (baud) {
        case 300:
            return B300;
        case 600:
            return B600;
        case 1200:
            return B1200;
        case 2400:
            return B2400;
        case 4800:
            return B4800;
        case 9600:
            return B9600;
        case 19200:
            return B19200;
        case 38400:
            return B38400;
        case 57600:
            return B57600;
        case 115200:
            return B115200;
        case 230400:
            return B230400;
        default:
            return std::nullopt;
    }
}

bool ApplyDcb(const Dcb& dcb, termios& t) {
    const auto speed = SpeedOf(dcb.BaudRate);
    if (!speed || dcb.ByteSize < 5 || dcb.ByteSize > 8) {
        return false;
    }
    cfmakeraw(&t);
    cfsetispeed(&t, *speed);
    cfsetospeed(&t, *speed);
    t.c_cflag &=
        ~static_cast<tcflag_t>(CSIZE | CSTOPB | PARENB | PARODD | CMSPAR | CRTSCTS | HUPCL);
    t.c_cflag |= CLOCAL | CREAD;
    static const tcflag_t sizes[] = {CS5, CS6, CS7, CS8};
    t.c_cflag |= sizes[dcb.ByteSize - 5];
    if (dcb.StopBits != 0) {
        t.c_cflag |= CSTOPB;  // Linux has no one and a half: two
    }
    if (dcb.Parity != 0) {
        t.c_cflag |= PARENB;
        if (dcb.Parity == 1 || dcb.Parity == 3)
            t.c_cflag |= PARODD;
        if (dcb.Parity >= 3)
            t.c_cflag |= CMSPAR;  // mark or space
    }
    if (dcb.fOutxCtsFlow) {
        t.c_cflag |= CRTSCTS;
    }
    t.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY);
    if (dcb.fOutX)
        t.c_iflag |= IXON;
    if (dcb.fInX)
        t.c_iflag |= IXOFF;
    t.c_cc[VSTART] = static_cast<cc_t>(dcb.XonChar);
    t.c_cc[VSTOP] = static_cast<cc_t>(dcb.XoffChar);
    t.c_cc[VMIN] = 0;  // reads return what is there at once
    t.c_cc[VTIME] = 0;
    return true;
}

}  // namespace stampa
