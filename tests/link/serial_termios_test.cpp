#include "link/serial/serial_termios.h"

#include <gtest/gtest.h>

namespace stampa {
namespace {

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
