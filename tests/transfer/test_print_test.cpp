// The test print: GS v 0 as the command reference gives it, and what the
// virtual printer's interpreter prints from the stream, in process.
#include "transfer/test_print.h"

#include <gtest/gtest.h>

#include "support/bmp_files.h"
#include "support/fake_transport.h"
#include "support/recording_operator.h"
#include "support/temp_dir.h"
#include "vprinter/printer.h"

namespace stampa {
namespace {

// An 'F' 10 dots wide and 3 high, 2 bytes a row (the dots past the width 0):
// a full bar, the stem, a shorter bar.
RowImage FTen() {
    RowImage f{10, 3, 2, {0xFF, 0xC0, 0x80, 0x00, 0xF0, 0x00}};
    return f;
}

// 1D 76 30 m xL xH yL yH, then the rows: the header in the reference's form.
TEST(TestPrint, RasterBitImageBytesAsTheReferenceGivesThem) {
    struct Case {
        int mode;
        std::vector<unsigned char> bytes;
    };
    const std::vector<unsigned char> rows = {0xFF, 0xC0, 0x80, 0x00, 0xF0, 0x00};
    const auto with = [&rows](std::vector<unsigned char> head) {
        head.insert(head.end(), rows.begin(), rows.end());
        return head;
    };
    const Case cases[] = {
        {0, with({0x1D, 0x76, 0x30, 0, 2, 0, 3, 0})},
        {1, with({0x1D, 0x76, 0x30, 1, 2, 0, 3, 0})},
        {2, with({0x1D, 0x76, 0x30, 2, 2, 0, 3, 0})},
        {3, with({0x1D, 0x76, 0x30, 3, 2, 0, 3, 0})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        const auto bands = RasterBands(FTen(), c.mode);
        ASSERT_TRUE(bands);
        EXPECT_EQ(*bands, std::vector<Bytes>{c.bytes});
    }
    EXPECT_FALSE(RasterBands(FTen(), 4)) << "no such mode";
    // 300 rows: 256, then 44 (2C 00), the second band's data from row 256.
    RowImage tall{8, 300, 1, std::vector<std::uint8_t>(300, 0)};
    tall.data[256] = 0x81;
    const auto bands = RasterBands(tall, 0);
    ASSERT_TRUE(bands);
    ASSERT_EQ(bands->size(), 2u);
    EXPECT_EQ(Bytes((*bands)[0].begin(), (*bands)[0].begin() + 8),
              (Bytes{0x1D, 0x76, 0x30, 0, 1, 0, 0x00, 0x01}));
    EXPECT_EQ(Bytes((*bands)[1].begin(), (*bands)[1].begin() + 9),
              (Bytes{0x1D, 0x76, 0x30, 0, 1, 0, 0x2C, 0x00, 0x81}));
}

// A tall logo over an in-process link: the printer prints exactly its dots,
// band under band, then LF; nothing is stored; the status line says so.
TEST(TestPrint, ThePrinterPrintsTheLogosDotsAndStoresNothing) {
    test::TempDir dir;
    test::WriteFileBytes(dir.File("tall.bmp"), test::Bmp1(20, 300, [](int x, int y) {
                             return (x * 7 + y * 3) % 5 == 0;
                         }));
    vprinter::PrinterState state;
    std::vector<vprinter::Receipt> receipts;
    vprinter::Session printer(
        state, [](const auto&) {}, [&receipts](vprinter::Receipt&& r) { receipts.push_back(r); });
    Session session;
    session.PortConfigured = true;
    auto link = test::ConnectFake(session, kUsbLink);
    link->RespondWith([&printer](const Bytes& written) {
        printer.Feed(written.data(), written.size());
        return Bytes{};
    });
    std::vector<std::string> status;
    session.Outcome = [&status](const std::string& text) { status.push_back(text); };
    test::RecordingOperator op;
    ASSERT_TRUE(TestPrint(session, {{"tall.bmp", dir.File("tall.bmp")}}, kNormalSize, false));
    printer.End();
    ASSERT_EQ(receipts.size(), 1u);
    const auto& items = receipts[0].items;
    ASSERT_EQ(items.size(), 3u) << "two bands and the LF";
    const RowImage logo = *LoadRowImage(dir.File("tall.bmp"));
    int top = 0;
    for (int band = 0; band < 2; ++band) {
        const vprinter::RasterLogo& printed = items[band].logo;
        for (int y = 0; y < printed.HeightDots(); ++y)
            for (int x = 0; x < logo.width; ++x)
                ASSERT_EQ(printed.Dot(x, y), logo.Dot(x, top + y)) << x << "," << top + y;
        top += printed.HeightDots();
    }
    EXPECT_EQ(top, 300) << "seamless: every row once";
    EXPECT_TRUE(state.Flash().empty());
    EXPECT_TRUE(state.Nv().empty());
    EXPECT_EQ(status, std::vector<std::string>{"已试打印 tall.bmp"});
    PortClose(session.PortHandle);
}

}  // namespace
}  // namespace stampa
