#include "protocol/commands.h"
#include "link/senders.h"

#include <gtest/gtest.h>

#include <functional>

#include "support/fake_transport.h"

namespace stampa {
namespace {

using test::ConnectFake;
using Units = std::vector<Bytes>;

class CommandsTest : public ::testing::Test {
  protected:
    LinkState linkState;
    void TearDown() override { PortClose(linkState.PortHandle); }
};

struct SenderCase {
    const char* what;
    std::function<int(PortHandleValue)> send;
    int result;
    Units writes;
};

TEST_F(CommandsTest, SendersWriteTheirBytesOrNothing) {
    const SenderCase cases[] = {
        {"ESC @", SendInitialize, 1, {{0x1B, 0x40}}},
        {"LF", SendLineFeed, 1, {{0x0A}}},
        {"FF", SendFormFeed, 1, {{0x0C}}},
        {"CAN", SendCancel, 1, {{0x18}}},
        {"FS p 255 3",
         [](auto h) { return SendPrintFlashLogo(h, 3, 255); },
         1,
         {{0x1C, 0x70, 0xFF, 0x03}}},
        {"FS p 1 0",
         [](auto h) { return SendPrintFlashLogo(h, 0, 1); },
         1,
         {{0x1C, 0x70, 0x01, 0x00}}},
        {"FS p 0", [](auto h) { return SendPrintFlashLogo(h, 0, 0); }, 0, {}},
        {"FS p 256", [](auto h) { return SendPrintFlashLogo(h, 0, 256); }, 0, {}},
        {"FS p mode 4", [](auto h) { return SendPrintFlashLogo(h, 4, 1); }, 0, {}},
        {"FS p mode -1", [](auto h) { return SendPrintFlashLogo(h, -1, 1); }, 0, {}},
        {"RAM slot 8",
         [](auto h) { return SendPrintRamLogo(h, 2, 8); },
         1,
         {{0x1D, 0x23, 0x08}, {0x1D, 0x2F, 0x02}, {0x0A}}},
        {"RAM slot 0",
         [](auto h) { return SendPrintRamLogo(h, 0, 0); },
         1,
         {{0x1D, 0x23, 0x00}, {0x1D, 0x2F, 0x00}, {0x0A}}},
        {"RAM slot 9", [](auto h) { return SendPrintRamLogo(h, 0, 9); }, 0, {}},
        {"RAM slot -1", [](auto h) { return SendPrintRamLogo(h, 0, -1); }, 0, {}},
        {"RAM mode 4", [](auto h) { return SendPrintRamLogo(h, 4, 1); }, 0, {}},
        {"GS \\ 300",
         [](auto h) { return SendVerticalOffset(h, 300); },
         1,
         {{0x1D, 0x5C, 0x2C, 0x01}}},
        {"GS \\ 65535",
         [](auto h) { return SendVerticalOffset(h, 65535); },
         1,
         {{0x1D, 0x5C, 0xFF, 0xFF}}},
        {"GS \\ 0", [](auto h) { return SendVerticalOffset(h, 0); }, 1, {{0x1D, 0x5C, 0x00, 0x00}}},
        {"GS \\ 65536", [](auto h) { return SendVerticalOffset(h, 65536); }, 0, {}},
        {"GS \\ -1", [](auto h) { return SendVerticalOffset(h, -1); }, 0, {}},
        {"NV print 07 double width",
         [](auto h) { return SendPrintNvGraphic(h, 1, NvKeyOf(7)); },
         1,
         {{0x1D, 0x28, 0x4C, 0x06, 0x00, 0x30, 0x45, '0', '7', 2, 1}}},
        {"NV print 99 double height",
         [](auto h) { return SendPrintNvGraphic(h, 2, NvKeyOf(99)); },
         1,
         {{0x1D, 0x28, 0x4C, 0x06, 0x00, 0x30, 0x45, '9', '9', 1, 2}}},
        {"NV print 10 both",
         [](auto h) { return SendPrintNvGraphic(h, 3, NvKeyOf(10)); },
         1,
         {{0x1D, 0x28, 0x4C, 0x06, 0x00, 0x30, 0x45, '1', '0', 2, 2}}},
        {"NV print another tool's A1",
         [](auto h) { return SendPrintNvGraphic(h, 0, "A1"); },
         1,
         {{0x1D, 0x28, 0x4C, 0x06, 0x00, 0x30, 0x45, 'A', '1', 1, 1}}},
        {"NV print 100", [](auto h) { return SendPrintNvGraphic(h, 0, NvKeyOf(100)); }, 0, {}},
        {"NV print 0", [](auto h) { return SendPrintNvGraphic(h, 0, NvKeyOf(0)); }, 0, {}},
        {"NV print key of 3", [](auto h) { return SendPrintNvGraphic(h, 0, "001"); }, 0, {}},
        {"NV print key 1F",
         [](auto h) {
             return SendPrintNvGraphic(h, 0,
                                       "\x1F"
                                       "1");
         },
         0,
         {}},
        {"NV print mode 4", [](auto h) { return SendPrintNvGraphic(h, 4, "01"); }, 0, {}},
        {"NV delete all",
         SendDeleteAllNvGraphics,
         1,
         {{0x1D, 0x28, 0x4C, 0x05, 0x00, 0x30, 0x41, 0x43, 0x4C, 0x52}}},
        {"NV delete 05",
         [](auto h) { return SendDeleteNvGraphic(h, NvKeyOf(5)); },
         1,
         {{0x1D, 0x28, 0x4C, 0x04, 0x00, 0x30, 0x42, '0', '5'}}},
        {"NV delete 100", [](auto h) { return SendDeleteNvGraphic(h, NvKeyOf(100)); }, 0, {}},
    };
    for (const SenderCase& c : cases) {
        SCOPED_TRACE(c.what);
        auto fake = ConnectFake(linkState);
        EXPECT_EQ(c.send(linkState.PortHandle), c.result);
        EXPECT_EQ(fake->Writes(), c.writes);
        // With no link, nothing is written and the result is 0.
        EXPECT_EQ(c.send(kNoHandle), 0);
        EXPECT_EQ(fake->Writes(), c.writes);
        PortClose(linkState.PortHandle);
    }
}

TEST_F(CommandsTest, RamPrintAttemptsAllThreeWritesWhenTheFirstFails) {
    auto fake = ConnectFake(linkState, kSerialLink);
    fake->FailAtCall(1, 0, /*closeOnFailure=*/false);
    EXPECT_EQ(SendPrintRamLogo(linkState.PortHandle, 1, 3), 0);
    EXPECT_EQ(fake->Writes(), (Units{{0x1D, 0x2F, 0x01}, {0x0A}}));
}

TEST_F(CommandsTest, FailedWriteGivesZero) {
    auto fake = ConnectFake(linkState);
    fake->FailAtCall(1);
    EXPECT_EQ(SendInitialize(linkState.PortHandle), 0);
    EXPECT_EQ(SendLineFeed(linkState.PortHandle), 0);  // the link closed with the failed write
}

TEST(CommandBuilders, FlashDefinitionAndStatusRequest) {
    EXPECT_EQ(*DefineFlashLogosCommand(3), (Bytes{0x1C, 0x71, 0x03}));
    EXPECT_EQ(*DefineFlashLogosCommand(255), (Bytes{0x1C, 0x71, 0xFF}));
    EXPECT_FALSE(DefineFlashLogosCommand(0));
    EXPECT_FALSE(DefineFlashLogosCommand(256));
    // Each logo's xL xH yL yH (width in bytes, height in 8-dot bands), and GS * x y.
    EXPECT_EQ(*FlashLogoHeader(300, 288), (Bytes{0x2C, 0x01, 0x20, 0x01}));
    EXPECT_FALSE(FlashLogoHeader(1024, 1));
    EXPECT_FALSE(FlashLogoHeader(1, 289));
    EXPECT_EQ(*DefineRamLogoCommand(72, 25), (Bytes{0x1D, 0x2A, 72, 25}));
    EXPECT_FALSE(DefineRamLogoCommand(256, 1));
    EXPECT_EQ(StatusRequestCommand(), (Bytes{0x1D, 0x72, 0x01}));
}

TEST(CommandBuilders, NvDefinitionHeadShortAndLongForm) {
    // 576 x 200: k = 72 x 200 = 14400, p = 14411 = 0x384B.
    EXPECT_EQ(*DefineNvGraphicHead(1, 576, 200),
              (Bytes{0x1D, 0x28, 0x4C, 0x4B, 0x38, 0x30, 0x43, 0x30, '0', '1', 0x01, 0x40, 0x02,
                     0xC8, 0x00, 0x31}));
    // 13 x 3: a partial last byte a row, k = 2 x 3.
    EXPECT_EQ((*DefineNvGraphicHead(42, 13, 3))[3], 17);
    // Either side of 65535: 240 x 2184 (p = 65531) is short, 256 x 2048 (p = 65547) long.
    EXPECT_EQ(*DefineNvGraphicHead(2, 240, 2184),
              (Bytes{0x1D, 0x28, 0x4C, 0xFB, 0xFF, 0x30, 0x43, 0x30, '0', '2', 0x01, 0xF0, 0x00,
                     0x88, 0x08, 0x31}));
    EXPECT_EQ((*DefineNvGraphicHead(2, 256, 2048))[1], 0x38);
    // 600 x 900: k = 75 x 900 = 67500, p = 67511 = 0x000107B7 in four bytes.
    EXPECT_EQ(*DefineNvGraphicHead(3, 600, 900),
              (Bytes{0x1D, 0x38, 0x4C, 0xB7, 0x07, 0x01, 0x00, 0x30, 0x43, 0x30, '0', '3', 0x01,
                     0x58, 0x02, 0x84, 0x03, 0x31}));
    EXPECT_TRUE(DefineNvGraphicHead(99, 8192, 2304));
    EXPECT_FALSE(DefineNvGraphicHead(1, 8193, 1));
    EXPECT_FALSE(DefineNvGraphicHead(1, 1, 2305));
    EXPECT_FALSE(DefineNvGraphicHead(1, 0, 1));
    EXPECT_FALSE(DefineNvGraphicHead(0, 8, 8));
    EXPECT_FALSE(DefineNvGraphicHead(100, 8, 8));
}

}  // namespace
}  // namespace stampa
