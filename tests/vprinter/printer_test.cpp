// The virtual printer's interpreter fed the exact streams Stampa sends, and the
// receipts it renders.
#include "vprinter/printer.h"

#include <gtest/gtest.h>

#include <QImage>

#include "support/temp_dir.h"
#include "vprinter/flash_state.h"
#include "vprinter/render.h"

namespace vprinter {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Cat(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& p : parts)
        all.insert(all.end(), p.begin(), p.end());
    return all;
}
Bytes Repeat(std::uint8_t b, std::size_t n) {
    return Bytes(n, b);
}
Bytes Text(const std::string& s) {
    return Bytes(s.begin(), s.end());
}

// The all-black 8 x 8 logo as Stampa sends it: 4 bytes across, 1 band; columns
// 0..7 full (FF), columns 8..31 blank.
const Bytes kBlack8x8 = Cat({Repeat(0xFF, 8), Repeat(0x00, 24)});

struct Harness {
    explicit Harness(PrinterOptions options = {}) : state(options) {}
    PrinterState state;
    Bytes replies;
    std::vector<Receipt> receipts;
    Session session{state,
                    [this](const Bytes& b) { replies.insert(replies.end(), b.begin(), b.end()); },
                    [this](Receipt&& r) { receipts.push_back(std::move(r)); }};
    void Send(const Bytes& bytes) { session.Feed(bytes.data(), bytes.size()); }
    void SendByteByByte(const Bytes& bytes) {
        for (std::uint8_t b : bytes)
            session.Feed(&b, 1);
    }
};

std::vector<std::pair<int, int>> Dots(const RasterLogo& logo) {
    std::vector<std::pair<int, int>> dots;
    for (int x = 0; x < logo.WidthDots(); ++x)
        for (int y = 0; y < logo.HeightDots(); ++y)
            if (logo.Dot(x, y))
                dots.emplace_back(x, y);
    return dots;
}

TEST(VirtualPrinter, StoresTheAllBlackEightByEightInFlashAndRam) {
    Harness h;
    h.Send(Cat({{0x1C, 0x71, 0x01, 0x04, 0x00, 0x01, 0x00}, kBlack8x8}));
    ASSERT_EQ(h.state.Flash().size(), 1u);
    const RasterLogo& flash = h.state.Flash()[0];
    EXPECT_EQ(flash.WidthDots(), 32);
    EXPECT_EQ(flash.HeightDots(), 8);
    EXPECT_EQ(flash.DotCount(), 64u);
    EXPECT_TRUE(flash.Dot(7, 7));
    EXPECT_FALSE(flash.Dot(8, 0));

    h.Send(Cat({{0x1D, 0x23, 0x00, 0x1D, 0x2A, 0x04, 0x01}, kBlack8x8}));
    ASSERT_TRUE(h.state.Ram(0));
    EXPECT_EQ(h.state.Ram(0)->data, flash.data);
}

TEST(VirtualPrinter, ColumnLayoutPutsTheTopDotInTheHighBit) {
    Harness h;
    // 16 x 16, only the top-left dot: x = 4 bytes, y = 2 bands; column 0 is 80 00.
    Bytes topLeft = Repeat(0, 4 * 2 * 8);
    topLeft[0] = 0x80;
    // 8 x 10 all black: 2 bands; columns 0..7 are 03 FF (the 6 blank rows on top).
    Bytes tall = Repeat(0, 4 * 2 * 8);
    for (int c = 0; c < 8; ++c) {
        tall[2 * c] = 0x03;
        tall[2 * c + 1] = 0xFF;
    }
    h.Send(
        Cat({{0x1C, 0x71, 0x02, 0x04, 0x00, 0x02, 0x00}, topLeft, {0x04, 0x00, 0x02, 0x00}, tall}));
    ASSERT_EQ(h.state.Flash().size(), 2u);
    EXPECT_EQ(Dots(h.state.Flash()[0]), (std::vector<std::pair<int, int>>{{0, 0}}));
    const RasterLogo& t = h.state.Flash()[1];
    EXPECT_EQ(t.DotCount(), 80u);
    EXPECT_FALSE(t.Dot(0, 5));
    EXPECT_TRUE(t.Dot(0, 6));
    EXPECT_TRUE(t.Dot(7, 15));
    EXPECT_FALSE(t.Dot(8, 15));
}

TEST(VirtualPrinter, FlashDownloadReplacesEveryLogoAndSurvivesARestart) {
    stampa::test::TempDir dir;
    const std::string statePath = dir.File("flash.state");
    {
        PrinterState state({}, statePath);
        ASSERT_TRUE(state.LoadFlash());
        Session s(
            state, [](const Bytes&) {}, [](Receipt&&) {});
        const Bytes three = Cat({{0x1C, 0x71, 0x03},
                                 {0x04, 0, 1, 0},
                                 kBlack8x8,
                                 {0x04, 0, 1, 0},
                                 Repeat(0, 32),
                                 {0x08, 0, 1, 0},
                                 Repeat(0x01, 64)});
        s.Feed(three.data(), three.size());
        ASSERT_EQ(state.Flash().size(), 3u);
        const Bytes one = Cat({{0x1C, 0x71, 0x01, 0x04, 0, 1, 0}, Repeat(0, 32)});
        s.Feed(one.data(), one.size());
        EXPECT_EQ(state.Flash().size(), 1u);
        s.Feed(three.data(), three.size());
    }
    PrinterState restarted({}, statePath);
    ASSERT_TRUE(restarted.LoadFlash());
    ASSERT_EQ(restarted.Flash().size(), 3u);
    EXPECT_EQ(restarted.Flash()[2].WidthDots(), 64);
    EXPECT_EQ(restarted.Flash()[0].data, kBlack8x8);
    EXPECT_FALSE(restarted.Ram(0));
}

// NV graphics commands as Stampa sends them.
Bytes NvDefine(char k1, char k2, int width, int height, const Bytes& rows) {
    const std::size_t p = 11 + rows.size();
    Bytes head = p > 65535 ? Bytes{0x1D,
                                   0x38,
                                   0x4C,
                                   static_cast<std::uint8_t>(p),
                                   static_cast<std::uint8_t>(p >> 8),
                                   static_cast<std::uint8_t>(p >> 16),
                                   0}
                           : Bytes{0x1D, 0x28, 0x4C, static_cast<std::uint8_t>(p),
                                   static_cast<std::uint8_t>(p >> 8)};
    return Cat({head,
                {0x30, 0x43, 0x30, static_cast<std::uint8_t>(k1), static_cast<std::uint8_t>(k2), 1,
                 static_cast<std::uint8_t>(width), static_cast<std::uint8_t>(width >> 8),
                 static_cast<std::uint8_t>(height), static_cast<std::uint8_t>(height >> 8), 0x31},
                rows});
}
Bytes NvPrint(char k1, char k2, int x, int y) {
    return {0x1D,
            0x28,
            0x4C,
            6,
            0,
            0x30,
            0x45,
            static_cast<std::uint8_t>(k1),
            static_cast<std::uint8_t>(k2),
            static_cast<std::uint8_t>(x),
            static_cast<std::uint8_t>(y)};
}

TEST(VirtualPrinter, NvGraphicsAreDefinedPrintedDeletedAndKept) {
    stampa::test::TempDir dir;
    const std::string statePath = dir.File("state");
    // 13 x 3, an 'F': rows FF F8 / FC 00 / 80 00. And 600 x 900 in the long form.
    const Bytes f = {0xFF, 0xF8, 0xFC, 0x00, 0x80, 0x00};
    Bytes big(75 * 900, 0);
    big[0] = 0x80;      // top left
    big.back() = 0x01;  // bottom right: x 599, y 899
    Receipt printed;
    std::vector<std::string> log;
    {
        PrinterState state({.paperWidth = 2048}, statePath);
        Session session(
            state, [](const Bytes&) {}, [&](Receipt&& r) { printed = std::move(r); },
            [&](const std::string& line) { log.push_back(line); });
        const Bytes stream = Cat({{0x1D, 0x28, 0x4C, 5, 0, 0x30, 0x41, 0x43, 0x4C, 0x52},
                                  NvDefine('0', '1', 13, 3, f),
                                  NvDefine('0', '2', 600, 900, big),
                                  NvDefine('0', '3', 8, 1, {0xFF}),
                                  NvPrint('0', '1', 2, 1),
                                  NvPrint('0', '2', 1, 1),
                                  NvPrint('0', '7', 1, 1),
                                  {0x1D, 0x28, 0x4C, 4, 0, 0x30, 0x42, '0', '3'},
                                  {0x0C}});
        for (std::size_t at = 0; at < stream.size(); at += 4096)  // as a link delivers it
            session.Feed(stream.data() + at, std::min<std::size_t>(4096, stream.size() - at));
    }
    EXPECT_EQ(log, (std::vector<std::string>{
                       "NV DELETE ALL (nothing to delete)", "NV DEFINE 01 13x3 (NV write 1)",
                       "NV DEFINE 02 600x900 (NV write 2)", "NV DEFINE 03 8x1 (NV write 3)",
                       "NV PRINT 01 2x1", "NV PRINT 02 1x1",
                       "NV PRINT 07 1x1 (no NV graphic 07, nothing printed)",
                       "NV DELETE 03 (NV write 4)", "FF"}));
    ASSERT_EQ(printed.items.size(), 2u);
    const RasterLogo& logo = printed.items[0].logo;
    EXPECT_EQ(printed.items[0].scaleX, 2);
    EXPECT_EQ(logo.WidthDots(), 13);
    EXPECT_EQ(logo.HeightDots(), 3);
    EXPECT_EQ(logo.DotCount(), 13u + 6 + 1);
    EXPECT_TRUE(logo.Dot(12, 0));
    EXPECT_TRUE(logo.Dot(5, 1));
    EXPECT_FALSE(logo.Dot(6, 1));
    EXPECT_EQ(Dots(printed.items[1].logo), (std::vector<std::pair<int, int>>{{0, 0}, {599, 899}}));

    PrinterState restarted({}, statePath);
    ASSERT_TRUE(restarted.LoadFlash());
    ASSERT_EQ(restarted.Nv().size(), 2u) << "01 and 02; 03 deleted";
    EXPECT_EQ(restarted.Nv().at("01").rows, f);
    EXPECT_EQ(restarted.Nv().at("02").width, 600);
    EXPECT_EQ(restarted.NvWrites(), 4) << "the count of NV writes is kept too";
}

TEST(VirtualPrinter, OutOfRangeHeaderDisablesTheCommand) {
    Harness h;
    h.Send(Cat({{0x1C, 0x71, 0x01, 0x00, 0x04, 0x01, 0x00}, Text("AB\n"), {0x0C}}));  // x = 1024
    EXPECT_TRUE(h.state.Flash().empty());
    ASSERT_EQ(h.receipts.size(), 1u);
    EXPECT_EQ(h.receipts[0].items[0].text, "AB") << "the bytes after FS q n are ordinary data";
    EXPECT_NE(h.receipts[0].log[0].find("out of range"), std::string::npos);
}

TEST(VirtualPrinter, PrintsLabelsAndLogosAtEveryScale) {
    Harness h;
    h.Send(Cat({{0x1C, 0x71, 0x01, 0x04, 0x00, 0x01, 0x00}, kBlack8x8}));
    h.Send(Cat({{0x18}, Text("=============== LOGO 1"), {0x0A, 0x0A, 0x1D, 0x5C, 0x08, 0x00}}));
    for (std::uint8_t m : {0, 1, 2, 3, 48, 51})
        h.Send({0x1C, 0x70, 0x01, m, 0x0A});
    h.Send({0x1C, 0x70, 0x02, 0x00, 0x0A, 0x1C, 0x70, 0x01, 0x04, 0x0C});  // no logo 2; mode 4
    ASSERT_EQ(h.receipts.size(), 1u);
    const Receipt& r = h.receipts[0];
    std::vector<std::pair<int, int>> scales;
    for (const auto& item : r.items) {
        if (item.kind == ReceiptItem::Kind::Logo)
            scales.emplace_back(item.scaleX, item.scaleY);
    }
    EXPECT_EQ(scales,
              (std::vector<std::pair<int, int>>{{1, 1}, {2, 1}, {1, 2}, {2, 2}, {1, 1}, {2, 2}}));
    EXPECT_EQ(r.items[0].text, "=============== LOGO 1");
    const std::vector<std::string> want = {"FS q 1: 1 = 32x8",
                                           "CAN (ignored in standard mode)",
                                           "TEXT \"=============== LOGO 1\"",
                                           "LF",
                                           "LF",
                                           "GS \\ 8 0 (ignored in standard mode)",
                                           "FS p 1 0"};
    EXPECT_EQ(std::vector<std::string>(r.log.begin(), r.log.begin() + 7), want);
    EXPECT_NE(std::find(r.log.begin(), r.log.end(), "FS p 2 0 (no FLASH logo 2, nothing printed)"),
              r.log.end());
}

TEST(VirtualPrinter, RamLogoSelectedByNumberAndUndefinedSlotsPrintNothing) {
    Harness h;
    h.Send(Cat({{0x1D, 0x23, 0x03, 0x1D, 0x2A, 0x04, 0x01}, kBlack8x8}));
    h.Send(
        {0x1D, 0x23, 0x03, 0x1D, 0x2F, 0x01, 0x0A, 0x1D, 0x23, 0x05, 0x1D, 0x2F, 0x00, 0x0A, 0x0C});
    ASSERT_EQ(h.receipts.size(), 1u);
    const auto& items = h.receipts[0].items;
    ASSERT_EQ(items.size(), 3u);  // logo, LF, LF
    EXPECT_EQ(items[0].kind, ReceiptItem::Kind::Logo);
    EXPECT_EQ(items[0].scaleX, 2);
    const auto& log = h.receipts[0].log;
    EXPECT_NE(std::find(log.begin(), log.end(), "GS * 4 1 (32 bytes) -> slot 3"), log.end());
    EXPECT_NE(std::find(log.begin(), log.end(),
                        "GS / 0 (slot 5) (RAM slot 5 undefined, nothing printed)"),
              log.end());
}

TEST(VirtualPrinter, CommandsSplitAcrossReadsAreTheSame) {
    const Bytes stream =
        Cat({{0x1B, 0x40, 0x1C, 0x71, 0x01, 0x04, 0x00, 0x01, 0x00},
             kBlack8x8,
             Text("x"),
             {0x0A, 0x1B, 0x21, 0x08, 0x1D, 0x56, 0x42, 0x00, 0x1C, 0x70, 0x01, 0x00, 0x0C}});
    Harness whole, split;
    whole.Send(stream);
    split.SendByteByByte(stream);
    ASSERT_EQ(whole.receipts.size(), 2u) << "the cut (GS V) ends the first receipt";
    ASSERT_EQ(split.receipts.size(), 2u);
    for (std::size_t i = 0; i < 2; ++i)
        EXPECT_EQ(whole.receipts[i].log, split.receipts[i].log);
    EXPECT_EQ(whole.receipts[0].items.size(), 1u);  // "x"; nothing from ESC ! or GS V
    EXPECT_EQ(whole.receipts[1].items.size(), 1u);  // the logo
}

TEST(VirtualPrinter, StatusRequestsAreAnsweredPerSwitches) {
    Harness normal;
    normal.Send({0x1D, 0x72, 0x01, 0x1D, 0x72, 0x31});
    EXPECT_EQ(normal.replies, (Bytes{0x00, 0x00}));
    Harness paperOut({.paperOut = true});
    paperOut.Send({0x1D, 0x72, 0x01});
    EXPECT_EQ(paperOut.replies, (Bytes{0x0C}));
    Harness silent({.noStatus = true});
    silent.Send({0x1D, 0x72, 0x01, 0x10, 0x04, 0x01, 0x1D, 0x28, 0x4C, 2, 0, 0x30, 0x30});
    EXPECT_TRUE(silent.replies.empty());
    // DLE EOT 1, 2, 4: offline, cover open, paper near end (or out).
    const Bytes realTime = {0x10, 0x04, 0x01, 0x10, 0x04, 0x02, 0x10, 0x04, 0x04};
    normal.replies.clear();
    normal.Send(realTime);
    EXPECT_EQ(normal.replies, (Bytes{0x12, 0x12, 0x12}));
    Harness troubled({.paperOut = false, .paperNearEnd = true, .coverOpen = true, .offline = true});
    troubled.Send(realTime);
    EXPECT_EQ(troubled.replies, (Bytes{0x1A, 0x16, 0x1E}));
    paperOut.replies.clear();
    paperOut.Send({0x10, 0x04, 0x04});
    EXPECT_EQ(paperOut.replies, (Bytes{0x7E}));
}

TEST(VirtualPrinter, NvCapacityAndTheKeyListInBlocks) {
    Harness h({.nvCapacity = 1000});
    for (int i = 0; i < 45; ++i)  // 45 keys of 8 x 1: 1 byte each
        h.Send(NvDefine(static_cast<char>('A' + i / 10), static_cast<char>('0' + i % 10), 8, 1,
                        {0xFF}));
    h.Send({0x1D, 0x28, 0x4C, 2, 0, 0x30, 0x30, 0x1D, 0x28, 0x4C, 2, 0, 0x30, 0x33});
    EXPECT_EQ(h.replies, Cat({{0x37, 0x30}, Text("1000"), {0}, {0x37, 0x31}, Text("955"), {0}}));
    // 8 x 956 needs 956 bytes: more than is free, even under a key it would replace.
    h.Send(NvDefine('A', '0', 8, 956, Bytes(956, 0xFF)));
    EXPECT_EQ(h.state.Nv().at("A0").height, 1) << "nothing stored";
    EXPECT_EQ(h.state.NvWrites(), 45);
    // 40 keys, then ACK for the other 5; NAK sends a block again; CAN ends it.
    h.replies.clear();
    h.Send({0x1D, 0x28, 0x4C, 4, 0, 0x30, 0x40, 0x4B, 0x43});
    ASSERT_EQ(h.replies.size(), 3u + 80 + 1);
    EXPECT_EQ(h.replies[2], 0x41);
    h.replies.clear();
    h.Send({0x15});
    EXPECT_EQ(h.replies.size(), 3u + 80 + 1) << "the same block again";
    h.replies.clear();
    h.Send({0x06});
    EXPECT_EQ(h.replies, Cat({{0x37, 0x72, 0x40}, Text("E0E1E2E3E4"), {0}}));
    h.replies.clear();
    // The last block waits for its answer too: the next byte is taken as it,
    // whatever it is; ACK ends the exchange, and what follows is read as usual.
    h.Send({0x06, 0x10, 0x04, 0x01});
    EXPECT_EQ(h.replies, (Bytes{0x12}));
    h.Send({0x1D, 0x28, 0x4C, 4, 0, 0x30, 0x40, 0x4B, 0x43, 0x06});
    h.replies.clear();
    h.Send({0x10, 0x04, 0x01, 0x10, 0x04, 0x01});  // DLE taken as the answer: wrong, consumed
    EXPECT_EQ(h.replies, (Bytes{0x12})) << "the rest of the first question is no command";
    h.Send({0x1D, 0x28, 0x4C, 4, 0, 0x30, 0x40, 0x4B, 0x43, 0x18, 0x06});
    EXPECT_EQ(h.replies.size(), 1u + 3 + 80 + 1) << "CAN: nothing more";
}

TEST(VirtualPrinter, AReceiptEndsWithFormFeedOrAClosingConnectionWithContent) {
    Harness h;
    h.Send(Text("one\n"));
    EXPECT_TRUE(h.receipts.empty());
    h.session.End();
    EXPECT_EQ(h.receipts.size(), 1u);
    h.Send({0x1B, 0x40});
    h.session.End();
    EXPECT_EQ(h.receipts.size(), 1u) << "nothing printed, no receipt";
}

// A small asymmetric picture, 'F' in the top-left of an 8 x 5 raster: rows
// E0 80 C0 80 80, the leftmost dot in the high bit.
const Bytes kFRows = {0xE0, 0x80, 0xC0, 0x80, 0x80};
const std::vector<std::pair<int, int>> kFDots = {{0, 0}, {0, 1}, {0, 2}, {0, 3},
                                                 {0, 4}, {1, 0}, {1, 2}, {2, 0}};

// Streams in the forms the command references give, each printing the 'F'
// (or a strip of columns) once: the picture and its magnification.
TEST(VirtualPrinter, RendersRasterPicturesOtherProgramsPrint) {
    struct Case {
        const char* what;
        Bytes stream;
        std::vector<std::pair<int, int>> dots;
        int scaleX, scaleY;
    };
    const auto gsv0 = [](std::uint8_t m) {
        return Cat({{0x1D, 0x76, 0x30, m, 1, 0, 5, 0}, kFRows});
    };
    // Function 112 (m fn a bx by c xL xH yL yH data), then function 50.
    const auto stored = [](std::uint8_t bx, std::uint8_t by) {
        return Cat({{0x1D, 0x28, 0x4C, 15, 0, 0x30, 0x70, 0x30, bx, by, 0x31, 5, 0, 5, 0},
                    kFRows,
                    {0x1D, 0x28, 0x4C, 2, 0, 0x30, 0x32}});
    };
    const Case cases[] = {
        {"GS v 0 normal", gsv0(0), kFDots, 1, 1},
        {"GS v 0 double width", gsv0(1), kFDots, 2, 1},
        {"GS v 0 double height", gsv0(2), kFDots, 1, 2},
        {"GS v 0 quadruple", gsv0(51), kFDots, 2, 2},
        {"function 112 + 50 at 1 x 1", stored(1, 1), kFDots, 1, 1},
        {"function 112 + 50 at 2 x 1", stored(2, 1), kFDots, 2, 1},
        {"function 112 + 50 at 1 x 2", stored(1, 2), kFDots, 1, 2},
        {"function 112 + 50 at 2 x 2", stored(2, 2), kFDots, 2, 2},
        {"GS 8 L function 112 + 50",
         Cat({{0x1D, 0x38, 0x4C, 15, 0, 0, 0, 0x30, 0x70, 0x30, 1, 1, 0x31, 5, 0, 5, 0},
              kFRows,
              {0x1D, 0x28, 0x4C, 2, 0, 0x30, 0x32}}),
         kFDots, 1, 1},
        // ESC * 8-dot single density: columns 80, 00, 01 (top dot, nothing, bottom dot).
        {"ESC * 0", {0x1B, 0x2A, 0, 3, 0, 0x80, 0x00, 0x01, 0x0A}, {{0, 0}, {2, 7}}, 2, 3},
        {"ESC * 1", {0x1B, 0x2A, 1, 1, 0, 0xC0, 0x0A}, {{0, 0}, {0, 1}}, 1, 3},
        // 24-dot: three bytes a column, the top one first.
        {"ESC * 33", {0x1B, 0x2A, 33, 2, 0, 0x80, 0, 0, 0, 0, 0x01, 0x0A}, {{0, 0}, {1, 23}}, 1, 1},
        {"ESC * 32", {0x1B, 0x2A, 32, 1, 0, 0, 0x80, 0, 0x0A}, {{0, 8}}, 2, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Harness h;
        h.Send(c.stream);
        h.session.End();
        ASSERT_EQ(h.receipts.size(), 1u);
        const auto& items = h.receipts[0].items;
        ASSERT_EQ(items.size(), 1u) << "the picture, and no blank line after a strip";
        ASSERT_EQ(items[0].kind, ReceiptItem::Kind::Logo);
        EXPECT_EQ(Dots(items[0].logo), c.dots);
        EXPECT_EQ(std::pair(items[0].scaleX, items[0].scaleY), std::pair(c.scaleX, c.scaleY));
    }
}

// ESC a centres and right-aligns pictures and text; ESC ! and GS ! magnify
// the characters; GS V cuts, which ends the receipt; ESC @ resets the layout.
TEST(VirtualPrinter, JustificationTextSizesAndTheCut) {
    Harness h;
    h.Send(Cat({{0x1B, 0x61, 1, 0x1D, 0x76, 0x30, 0, 1, 0, 5, 0},
                kFRows,
                {0x1B, 0x61, 50, 0x1D, 0x21, 0x11},
                Text("TOTAL\n"),
                {0x1B, 0x21, 0x20},
                Text("w\n"),
                {0x1D, 0x56, 0x42, 0x00}}));
    ASSERT_EQ(h.receipts.size(), 1u) << "the cut ended the receipt";
    const auto& items = h.receipts[0].items;
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(items[0].align, 1);
    EXPECT_EQ(std::tuple(items[1].text, items[1].align, items[1].scaleX, items[1].scaleY),
              std::tuple(std::string("TOTAL"), 2, 2, 2));
    EXPECT_EQ(std::tuple(items[2].scaleX, items[2].scaleY), std::tuple(2, 1));
    const QImage paper = RenderReceipt(h.receipts[0], 576);
    EXPECT_EQ(qGray(paper.pixel(284, kMargin)), 0) << "the 8-dot picture centred: 284..291";
    EXPECT_EQ(qGray(paper.pixel(283, kMargin)), 255);
    EXPECT_EQ(paper.height(), 2 * kMargin + 5 + 2 * kLineHeight + kLineHeight);
    h.Send({0x1B, 0x40, 'x', 0x0A, 0x0C});
    ASSERT_EQ(h.receipts.size(), 2u);
    EXPECT_EQ(std::tuple(h.receipts[1].items[0].align, h.receipts[1].items[0].scaleX),
              std::tuple(0, 1));
}

int BlackWidth(const QImage& image) {
    int right = -1;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 128)
                right = std::max(right, x);
    return right + 1;
}

TEST(ReceiptRendering, DoubleWidthIsExactlyTwiceAsWideAndClippedToThePaper) {
    RasterLogo logo{4, 1, kBlack8x8};
    const QImage normal = RenderLogo(logo, 1, 1);
    const QImage wide = RenderLogo(logo, 2, 1);
    const QImage both = RenderLogo(logo, 2, 2);
    EXPECT_EQ(BlackWidth(normal), 8);
    EXPECT_EQ(BlackWidth(wide), 16);
    EXPECT_EQ(both.height(), 16);
    EXPECT_EQ(qGray(both.pixel(15, 15)), 0);
    EXPECT_EQ(qGray(both.pixel(16, 0)), 255);

    Receipt r;
    ReceiptItem item;
    item.kind = ReceiptItem::Kind::Logo;
    item.logo = RasterLogo{100, 1, Repeat(0xFF, 800)};  // 800 dots wide, all black
    r.items.push_back(item);
    const QImage paper = RenderReceipt(r, 384);
    EXPECT_EQ(paper.width(), 384);
    EXPECT_EQ(BlackWidth(paper), 384);
    EXPECT_EQ(paper.height(), 8 + 2 * kMargin);
}

TEST(ReceiptRendering, TextLinesPrintInk) {
    Receipt r;
    ReceiptItem line;
    line.text = "=============== LOGO 1";
    r.items.push_back(line);
    const QImage paper = RenderReceipt(r, 576);
    EXPECT_EQ(paper.height(), kLineHeight + 2 * kMargin);
    EXPECT_GT(BlackWidth(paper), 200);
    EXPECT_LT(BlackWidth(paper), 576);
}

}  // namespace
}  // namespace vprinter
