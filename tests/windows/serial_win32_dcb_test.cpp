#include "link/serial/serial_win32_dcb.h"

#include <gtest/gtest.h>

namespace stampa {
namespace {

// The system's block carries every field the link sets, starting from what the
// port reported; the fields the link leaves alone keep the port's values.
TEST(SerialWin32, DcbCarriesTheBlock) {
    struct Case {
        const char* what;
        int stopBits, parity, flowMode;
        BYTE stop, par;
        DWORD dtr, rts;
        BOOL cts, dsr, outX, inX, checkParity;
    } const cases[] = {
        {"8N1 DTR/DSR", 0, 0, 2, ONESTOPBIT, NOPARITY, DTR_CONTROL_ENABLE, RTS_CONTROL_DISABLE,
         FALSE, TRUE, FALSE, FALSE, FALSE},
        {"8E2 RTS/CTS", 2, 2, 0, TWOSTOPBITS, EVENPARITY, DTR_CONTROL_DISABLE, RTS_CONTROL_ENABLE,
         TRUE, FALSE, FALSE, FALSE, TRUE},
        {"8O1.5 Xon/Xoff", 1, 1, 1, ONE5STOPBITS, ODDPARITY, DTR_CONTROL_DISABLE,
         RTS_CONTROL_DISABLE, FALSE, FALSE, TRUE, TRUE, TRUE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DCB d{};
        d.fAbortOnError = TRUE;  // a field the link does not name
        d.XonLim = 77;
        ApplyDcb(BuildDcb({}, 19200, 8, c.stopBits, c.parity, c.flowMode), d);
        EXPECT_EQ(d.DCBlength, sizeof(DCB));
        EXPECT_EQ(d.BaudRate, 19200u);
        EXPECT_EQ(d.ByteSize, 8);
        EXPECT_EQ(d.StopBits, c.stop);
        EXPECT_EQ(d.Parity, c.par);
        EXPECT_EQ(d.fParity, static_cast<DWORD>(c.checkParity));
        EXPECT_EQ(d.fBinary, 1u);
        EXPECT_EQ(d.fDtrControl, c.dtr);
        EXPECT_EQ(d.fRtsControl, c.rts);
        EXPECT_EQ(d.fOutxCtsFlow, static_cast<DWORD>(c.cts));
        EXPECT_EQ(d.fOutxDsrFlow, static_cast<DWORD>(c.dsr));
        EXPECT_EQ(d.fOutX, static_cast<DWORD>(c.outX));
        EXPECT_EQ(d.fInX, static_cast<DWORD>(c.inX));
        EXPECT_EQ(d.fAbortOnError, 1u);
        EXPECT_EQ(d.XonLim, 77);
        EXPECT_EQ(ReportedDcb(d), BuildDcb({}, 19200, 8, c.stopBits, c.parity, c.flowMode))
            << "the block reads back as it was set";
    }
    const COMMTIMEOUTS t = ToWin32Timeouts(LongTimeouts());
    EXPECT_EQ(t.ReadIntervalTimeout, MAXDWORD);
    EXPECT_EQ(t.WriteTotalTimeoutMultiplier, 50000u);
    EXPECT_EQ(t.WriteTotalTimeoutConstant, 90000u);
}

}  // namespace
}  // namespace stampa
