#include "link/serial/serial_settings.h"

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

}  // namespace
}  // namespace stampa
