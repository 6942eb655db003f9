#include "link/serial_settings.h"

#include <gtest/gtest.h>

#include "link/link_open.h"

namespace stampa {
namespace {

struct FlowCase {
    const char* text;
    bool ctsFlow, dsrFlow;
    std::uint8_t dtr;
    bool outX, inX;
    std::uint8_t rts;
};

TEST(SerialSettings, FlowModesSetTheHandshakeFields) {
    const FlowCase cases[] = {
        // text        CTS    DSR    DTR  OutX   InX    RTS
        {"RTS/CTS", true, false, 0, false, false, 1},
        {"Xon/Xoff", false, false, 0, true, true, 0},
        {"DTR/DSR", false, true, 1, false, false, 0},
        {"anything", true, false, 0, false, false, 1},
    };
    Dcb reported;
    reported.XonChar = 0x55;
    reported.XoffChar = 0x66;
    for (const FlowCase& c : cases) {
        SCOPED_TRACE(c.text);
        const Dcb d = BuildDcb(reported, 9600, 8, 0, 0, FlowModeCode(c.text));
        EXPECT_EQ(d.fOutxCtsFlow, c.ctsFlow);
        EXPECT_EQ(d.fOutxDsrFlow, c.dsrFlow);
        EXPECT_EQ(d.fDtrControl, c.dtr);
        EXPECT_EQ(d.fOutX, c.outX);
        EXPECT_EQ(d.fInX, c.inX);
        EXPECT_EQ(d.fRtsControl, c.rts);
        // Xon/Xoff characters: DC1/DC3 in that mode, the port's own otherwise.
        EXPECT_EQ(d.XonChar, c.outX ? 0x11 : 0x55);
        EXPECT_EQ(d.XoffChar, c.outX ? 0x13 : 0x66);
    }
    EXPECT_EQ(FlowModeCode("DTR/DSR"), 2);
    EXPECT_EQ(FlowModeCode("Xon/Xoff"), 1);
    EXPECT_EQ(FlowModeCode("RTS/CTS"), 0);
}

TEST(SerialSettings, ParityStopBitsAndSpeed) {
    EXPECT_EQ(ParityCode("None"), 0);
    EXPECT_EQ(ParityCode("Odd"), 1);
    EXPECT_EQ(ParityCode("Even"), 2);
    EXPECT_EQ(ParityCode("even"), 0) << "the texts are the page's own, case and all";
    EXPECT_EQ(StopBitsCode("1"), 0);
    EXPECT_EQ(StopBitsCode("2"), 2) << "two stop bits, not one and a half";
    EXPECT_EQ(StopBitsCode("1.5"), 0);

    const Dcb none = BuildDcb({}, 57600, 8, 0, ParityCode("None"), 2);
    const Dcb even = BuildDcb({}, 1200, 8, 2, ParityCode("Even"), 2);
    EXPECT_EQ(none.Parity, 0);
    EXPECT_EQ(even.Parity, 2);
    EXPECT_EQ(even.StopBits, 2);
    EXPECT_EQ(even.BaudRate, 1200u);
}

TEST(SerialSettings, TimeoutsOfTheTestAndAfterIt) {
    EXPECT_EQ(LinkTestTimeouts().ByteTimeoutMs(), 1200u);
    EXPECT_EQ(LongTimeouts().WriteTotalTimeoutMultiplier, 50000u);
    EXPECT_EQ(LongTimeouts().WriteTotalTimeoutConstant, 90000u);
    EXPECT_EQ(LongTimeouts().ReadIntervalTimeout, 0xFFFFFFFFu);
}

struct TermiosCase {
    const char* what;
    int stopBits, parity, flowMode;
    tcflag_t cflagSet, cflagClear, iflagSet, iflagClear;
};

TEST(SerialSettings, TermiosCarriesTheBlock) {
    const TermiosCase cases[] = {
        {"8N1 DTR/DSR", 0, 0, 2, CS8 | CLOCAL | CREAD, PARENB | CSTOPB | CRTSCTS | HUPCL, 0,
         IXON | IXOFF},
        {"8E2 RTS/CTS", 2, 2, 0, CS8 | PARENB | CSTOPB | CRTSCTS, PARODD | HUPCL, 0, IXON | IXOFF},
        {"8O1 Xon/Xoff", 0, 1, 1, PARENB | PARODD, CSTOPB | CRTSCTS, IXON | IXOFF, 0},
    };
    for (const TermiosCase& c : cases) {
        SCOPED_TRACE(c.what);
        termios t{};
        t.c_cflag = HUPCL | CS7;
        t.c_lflag = ECHO | ICANON;
        t.c_oflag = OPOST;
        ASSERT_TRUE(ApplyDcb(BuildDcb({}, 19200, 8, c.stopBits, c.parity, c.flowMode), t));
        EXPECT_EQ(t.c_cflag & c.cflagSet, c.cflagSet);
        EXPECT_EQ(t.c_cflag & c.cflagClear, 0u);
        EXPECT_EQ(t.c_iflag & c.iflagSet, c.iflagSet);
        EXPECT_EQ(t.c_iflag & c.iflagClear, 0u);
        EXPECT_EQ(t.c_lflag & (ECHO | ICANON), 0u) << "raw: no echo, no line editing";
        EXPECT_EQ(t.c_oflag & OPOST, 0u) << "raw: no output processing";
        EXPECT_EQ(cfgetospeed(&t), B19200);
    }
    termios t{};
    const Dcb xon = BuildDcb({}, 9600, 8, 0, 0, 1);
    ASSERT_TRUE(ApplyDcb(xon, t));
    EXPECT_EQ(t.c_cc[VSTART], 0x11);
    EXPECT_EQ(t.c_cc[VSTOP], 0x13);
    EXPECT_FALSE(ApplyDcb(BuildDcb({}, 12345, 8, 0, 0, 2), t)) << "no such speed";
    EXPECT_FALSE(ApplyDcb(BuildDcb({}, 9600, 9, 0, 0, 2), t));
}

}  // namespace
}  // namespace stampa
