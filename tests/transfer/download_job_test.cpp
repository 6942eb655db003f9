// The download job's checks, messages and byte streams against an in-process link.
#include "transfer/download_job.h"

#include <gtest/gtest.h>

#include "common/messages.h"
#include "link/link_state.h"
#include "logos/logo_store.h"
#include "logos/nv_list.h"
#include "logos/jpeg_decode.h"
#include "logos/picture_decode.h"
#include "logos/stored_list.h"
#include "support/bmp_files.h"
#include "support/fake_transport.h"
#include "support/job_pages.h"
#include "support/logo_files.h"
#include "support/picture_files.h"
#include "support/recording_operator.h"
#include "transfer/session.h"
#include "workflows/pick.h"
#include "workflows/startup.h"

namespace stampa {
namespace {

using test::Bmp1;
using test::Bmp24;
using test::RecordingDownloadPage;
using test::RecordingOperator;
using test::Rgb;
using test::TempDir;
using test::WriteAndPick;
using Units = std::vector<std::vector<unsigned char>>;

auto All = [](int, int) { return true; };
auto None = [](int, int) { return false; };

std::vector<unsigned char> Cat(std::initializer_list<std::vector<unsigned char>> parts) {
    std::vector<unsigned char> all;
    for (const auto& p : parts)
        all.insert(all.end(), p.begin(), p.end());
    return all;
}

const std::vector<unsigned char> kBlack8x8 =
    Cat({std::vector<unsigned char>(8, 0xFF), std::vector<unsigned char>(24, 0x00)});

class DownloadJobTest : public ::testing::Test {
  protected:
    Session session;
    void SetUp() override {
        session.SetPauses({std::chrono::milliseconds(0), std::chrono::milliseconds(0)});
        link = test::ConnectFake(session, kUsbLink);
        session.PortConfigured = true;
    }
    void TearDown() override {
        WaitForDownload(session);
        PortClose(session.PortHandle);
    }
    void Run(RecordingDownloadPage& page) {
        StartDownload(session, page);
        ASSERT_TRUE(WaitForDownload(session, std::chrono::seconds(20)));
    }

    TempDir dir;
    RecordingOperator op;
    std::shared_ptr<test::FakeTransport> link;
};

TEST_F(DownloadJobTest, AllBlackEightByEightToFlash) {
    WriteAndPick(session, dir, "black.bmp", Bmp1(8, 8, All));
    RecordingDownloadPage page(kFlashMemory);
    Run(page);
    EXPECT_EQ(link->Writes(), (Units{{0x1C, 0x71, 0x01}, {0x04, 0x00, 0x01, 0x00}, kBlack8x8}));
    EXPECT_EQ(op.Shown(),
              (std::vector<test::ShownMessage>{{MessageKind::Question, msg::kAskDownloadFlash}}));
    EXPECT_EQ(session.FlashLogos.Count(), 1);
    EXPECT_TRUE(session.FlashDownloaded);
    EXPECT_FALSE(session.RamDownloaded);
    EXPECT_TRUE(session.DownloadIdle);
    EXPECT_TRUE(page.Enabled());
    EXPECT_EQ(page.Status(), msg::kDownloadProgress);
    EXPECT_EQ(page.Positions(), (std::vector<int>{1, 2, 0}));
}

TEST_F(DownloadJobTest, AllBlackEightByEightToRam) {
    WriteAndPick(session, dir, "black.bmp", Bmp1(8, 8, All));
    RecordingDownloadPage page(kRamMemory);
    Run(page);
    EXPECT_EQ(link->Writes(), (Units{{0x1D, 0x23, 0x00}, {0x1D, 0x2A, 0x04, 0x01}, kBlack8x8}));
    EXPECT_EQ(op.Texts(), std::vector<std::string>{msg::kAskDownloadRam});
    EXPECT_EQ(session.RamLogos.Count(), 1);
    EXPECT_TRUE(session.RamDownloaded);
    EXPECT_FALSE(session.FlashDownloaded);
}

TEST_F(DownloadJobTest, NvDownloadOnALinkThatCannotReadDefinesEachAndWritesTheList) {
    session.StartDirectory = dir.Path().string();
    session.PrinterModel = "RP-820";
    WriteAndPick(session, dir, "black.bmp", Bmp1(8, 8, All));
    // An 'F', 13 wide, stored top-down: rows of 2 bytes, the last 3 bits of a row 0.
    WriteAndPick(session, dir, "f.bmp",
                 Bmp1(13, -3, [](int x, int y) { return x == 0 || y == 0 || (y == 1 && x < 6); }));
    RecordingDownloadPage page(kNvMemory);
    Run(page);
    EXPECT_EQ(
        link->Writes(),
        (Units{{0x1D, 0x28, 0x4C, 0x13, 0x00, 0x30, 0x43, 0x30, '0', '1', 1, 8, 0, 8, 0, 0x31},
               std::vector<unsigned char>(8, 0xFF),
               {0x1D, 0x28, 0x4C, 0x11, 0x00, 0x30, 0x43, 0x30, '0', '2', 1, 13, 0, 3, 0, 0x31},
               {0xFF, 0xF8, 0xFC, 0x00, 0x80, 0x00}}));
    EXPECT_EQ(op.Texts(),
              std::vector<std::string>{"下载所选位图到NV图形（写入NV 2 次）。\n继续吗？"});
    EXPECT_TRUE(session.NvDownloaded);
    EXPECT_FALSE(session.FlashDownloaded);
    EXPECT_EQ(page.Positions(), (std::vector<int>{1, 2, 3, 4, 0}));
    session.NvLogos.RemoveAll();
    ASSERT_EQ(LoadLogoListInto(session.NvLogos, dir.File("RP-820.nv")), 1) << "written at once";
    ASSERT_EQ(session.NvLogos.Count(), 2);
    EXPECT_EQ(session.NvLogos.GetName(1), "f.bmp");
    EXPECT_EQ(NvNumberAt(session.NvLogos, 1), 2);
}

TEST_F(DownloadJobTest, ThreeFlashLogosInOneCommandWithProgress) {
    WriteAndPick(session, dir, "a.bmp", Bmp1(32, 8, None));
    WriteAndPick(session, dir, "b.bmp", Bmp1(33, 10, All));
    WriteAndPick(session, dir, "c.bmp", Bmp1(1, 1, All));
    RecordingDownloadPage page(kFlashMemory);
    Run(page);
    const Units writes = link->Writes();
    ASSERT_EQ(writes.size(), 7u);
    EXPECT_EQ(writes[0], (std::vector<unsigned char>{0x1C, 0x71, 0x03}));
    EXPECT_EQ(writes[1], (std::vector<unsigned char>{0x04, 0x00, 0x01, 0x00}));
    EXPECT_EQ(writes[3], (std::vector<unsigned char>{0x08, 0x00, 0x02, 0x00}));
    EXPECT_EQ(writes[4].size(), 8u * 2 * 8);
    EXPECT_EQ(page.Positions(), (std::vector<int>{1, 2, 3, 4, 5, 6, 0}));
    const auto events = page.Events();
    EXPECT_EQ(events[0], "disabled");
    EXPECT_EQ(events[1], "range 0..6");
    EXPECT_EQ(events[2], std::string("status Downloading Logo:\na.bmp"));
    EXPECT_EQ(session.FlashLogos.GetName(2), "c.bmp");
    EXPECT_EQ(session.FlashLogos.Entries()[2].number, 2);
}

TEST_F(DownloadJobTest, ProgressFollowsTheBytesOfTheWholeDownload) {
    WriteAndPick(session, dir, "big.bmp", Bmp1(400, 240, All));  // 12000 bytes of columns
    WriteAndPick(session, dir, "small.bmp", Bmp1(8, 8, All));
    RecordingDownloadPage page(kFlashMemory);
    Run(page);
    long long streamed = 0;
    for (const auto& write : link->Writes()) {
        EXPECT_LE(write.size(), static_cast<std::size_t>(kWatchedWritePart));
        streamed += static_cast<long long>(write.size());
    }
    const auto told = page.BytesSent();
    ASSERT_GE(told.size(), 4u) << "the big logo's data goes in parts, each told";
    for (std::size_t i = 0; i < told.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(told[i].second, streamed) << "of the whole download";
        if (i > 0) {
            EXPECT_GT(told[i].first, told[i - 1].first);
        }
        if (i + 1 < told.size()) {
            EXPECT_LT(told[i].first, streamed) << "full only once the printer has it all";
        }
    }
    EXPECT_EQ(told.back().first, streamed);
}

TEST_F(DownloadJobTest, EightRamLogosAreNumberedZeroToSeven) {
    for (int i = 0; i < 8; ++i)
        WriteAndPick(session, dir, "r" + std::to_string(i) + ".bmp", Bmp1(8, 8, All));
    RecordingDownloadPage page(kRamMemory);
    Run(page);
    const Units writes = link->Writes();
    ASSERT_EQ(writes.size(), 24u);
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(writes[3 * i],
                  (std::vector<unsigned char>{0x1D, 0x23, static_cast<unsigned char>(i)}));
    }
}

struct LimitCase {
    const char* what;
    Memory memory;
    int count;
    int bytes;
    const char* message;            // nullptr: accepted
    long long nvCapacity = -1;      // what the printer said it holds; -1: not asked
    const char* numbers = nullptr;  // the line under a capacity refusal
};

TEST_F(DownloadJobTest, CapacityLimitsSizeBeforeCount) {
    const LimitCase cases[] = {
        {"one FLASH logo too large", kFlashMemory, 1, 127000 - 503 - 4 + 1, msg::kLogoTooLarge, -1,
         "共 127001 字节，上限 127000 字节。"},
        {"two FLASH logos too large", kFlashMemory, 2, 127000 - 503 - 8 + 1, msg::kLogosTooLarge,
         -1, "共 127001 字节，上限 127000 字节。"},
        {"FLASH exactly full", kFlashMemory, 1, 127000 - 503 - 4, nullptr},
        {"256 FLASH logos", kFlashMemory, 256, 0, msg::kFlashHolds255},
        {"one RAM logo too large", kRamMemory, 1, 12000 - 500 - 7 + 1, msg::kLogoTooLarge, -1,
         "共 12001 字节，上限 12000 字节。"},
        {"RAM exactly full", kRamMemory, 1, 12000 - 500 - 7, nullptr},
        {"nine RAM logos", kRamMemory, 9, 32 * 9, msg::kRamHoldsEight},
        {"nine RAM logos too large", kRamMemory, 9, 12000, msg::kLogosTooLarge, -1,
         "共 12563 字节，上限 12000 字节。"},
        {"100 NV logos", kNvMemory, 100, 0, msg::kNvHolds99},
        {"99 NV logos of any size", kNvMemory, 99, 2'000'000'000, nullptr},
        {"NV over the printer's capacity", kNvMemory, 1, 8, msg::kLogosTooLarge, 18,
         "共 19 字节，上限 18 字节。"},
        {"NV within the printer's capacity", kNvMemory, 1, 8, nullptr, 19},  // 11 + 1 x 8
    };
    WriteAndPick(session, dir, "one.bmp", Bmp1(8, 8, All));
    for (const LimitCase& c : cases) {
        SCOPED_TRACE(c.what);
        op.Clear();
        session.SelectedCount = c.count;
        session.SelectedBytes = c.bytes;
        session.NvCapacityTotal = c.nvCapacity;
        RecordingDownloadPage page(c.memory);
        StartDownload(session, page);
        ASSERT_TRUE(WaitForDownload(session, std::chrono::seconds(20)));
        const auto texts = op.Texts();
        ASSERT_GE(texts.size(), 1u);
        if (c.message == nullptr) {
            EXPECT_EQ(texts.size(), 1u) << texts.back();
            EXPECT_EQ(page.Positions().back(), 0);
        } else {
            const std::string numbers = c.numbers ? std::string("\n") + c.numbers : "";
            EXPECT_EQ(texts, std::vector<std::string>{c.message + numbers})
                << "refused before any question";
            EXPECT_TRUE(page.Events().empty()) << "nothing started";
        }
    }
}

TEST_F(DownloadJobTest, RefusalsBeforeAnythingIsSent) {
    RecordingDownloadPage page;
    StartDownload(session, page);  // nothing picked
    EXPECT_EQ(op.Texts().back(), msg::kSelectLogosFirst);
    WriteAndPick(session, dir, "one.bmp", Bmp1(8, 8, All));
    op.AnswerNext(Answer::Cancel);
    StartDownload(session, page);
    session.PortConfigured = false;
    StartDownload(session, page);
    EXPECT_EQ(op.Texts().back(), msg::kConfigurePortFirst);
    WaitForDownload(session);
    EXPECT_TRUE(link->Writes().empty());
    EXPECT_TRUE(page.Events().empty()) << "the button was never touched";
    EXPECT_TRUE(session.DownloadIdle);
}

TEST_F(DownloadJobTest, LogoTooWideForTheRamCommandIsRefusedFirst) {
    WriteAndPick(session, dir, "wide.bmp", Bmp1(2017, 8, None));
    session.SelectedBytes = 100;  // passes the size rule, as 2017 x 40 can
    RecordingDownloadPage page(kRamMemory);
    Run(page);
    EXPECT_EQ(op.Texts().back(), msg::kLogoTooLarge);
    EXPECT_TRUE(link->Writes().empty());
}

TEST_F(DownloadJobTest, FailedWriteMidDownloadLeavesListsAndMarksAlone) {
    WriteAndPick(session, dir, "a.bmp", Bmp1(8, 8, All));
    WriteAndPick(session, dir, "b.bmp", Bmp1(8, 8, All));
    session.FlashLogos.Append(0, "old.bmp", "/old.bmp", "/old.bmp", 32, 8, 8, 0);
    link->FailAtCall(4, 10);  // the second logo's header
    RecordingDownloadPage page(kFlashMemory);
    Run(page);
    EXPECT_EQ(op.Texts().back(), msg::kCommunicationFailed);
    EXPECT_EQ(op.Shown().back().kind, MessageKind::Warning);
    EXPECT_EQ(session.FlashLogos.Count(), 1);
    EXPECT_EQ(session.FlashLogos.GetName(0), "old.bmp");
    EXPECT_FALSE(session.FlashDownloaded);
    EXPECT_TRUE(session.DownloadIdle);
    EXPECT_TRUE(page.Enabled());
    EXPECT_EQ(page.Status(), msg::kDownloadProgress);
    EXPECT_EQ(page.Position(), 0);
}

TEST_F(DownloadJobTest, FailedNvDownloadLeavesTheNvListAndItsFile) {
    session.StartDirectory = dir.Path().string();
    session.PrinterModel = "RP-820";
    session.NvLogos.Append(0, "old.bmp", "/old.bmp", "", 32, 8, 8, 1);
    ASSERT_EQ(SaveNvList(session), 1);
    const auto before = test::ReadFileBytes(dir.File("RP-820.nv"));
    WriteAndPick(session, dir, "a.bmp", Bmp1(8, 8, All));
    WriteAndPick(session, dir, "b.bmp", Bmp1(8, 8, All));
    for (int failingCall : {1, 3}) {  // the first logo's head; the second's
        SCOPED_TRACE(failingCall);
        link = test::ConnectFake(session, kUsbLink);
        link->FailAtCall(failingCall);
        RecordingDownloadPage page(kNvMemory);
        Run(page);
        EXPECT_EQ(op.Texts().back(), msg::kCommunicationFailed);
        EXPECT_FALSE(session.NvDownloaded);
        ASSERT_EQ(session.NvLogos.Count(), 1);
        EXPECT_EQ(session.NvLogos.GetName(0), "old.bmp");
        EXPECT_EQ(test::ReadFileBytes(dir.File("RP-820.nv")), before);
        EXPECT_TRUE(page.Enabled());
    }
}

TEST_F(DownloadJobTest, FailedFlashHeaderEndsTheJobAtOnce) {
    WriteAndPick(session, dir, "a.bmp", Bmp1(8, 8, All));
    link->FailAtCall(1);
    RecordingDownloadPage page(kFlashMemory);
    Run(page);
    EXPECT_EQ(op.Texts().back(), msg::kCommunicationFailed);
    EXPECT_TRUE(session.DownloadIdle);
    EXPECT_TRUE(page.Enabled());
    EXPECT_TRUE(page.Positions().empty());
}

TEST_F(DownloadJobTest, MissingFileFailsTheJob) {
    const std::string path = WriteAndPick(session, dir, "gone.bmp", Bmp1(8, 8, All));
    std::filesystem::remove(path);
    RecordingDownloadPage page(kRamMemory);
    Run(page);
    // The true-colour check could not open the file; then the send fails.
    EXPECT_EQ(op.Texts(), (std::vector<std::string>{msg::kAskDownloadRam, "打开位图失败!",
                                                    msg::kCommunicationFailed}));
    EXPECT_FALSE(session.RamDownloaded);
}

TEST_F(DownloadJobTest, TrueColourLogoIsConvertedWithDitherM3OnTheWay) {
    ASSERT_TRUE(BindPixmelt(PIXMELT_LIBRARY));
    const std::string path = WriteAndPick(session, dir, "photo.bmp", Bmp24(16, 8, [](int x, int) {
                                              return x < 8 ? Rgb{0, 0, 0} : Rgb{255, 255, 255};
                                          }));
    session.SelectedLogos.SetMode(0, 3);
    RecordingDownloadPage page(kFlashMemory);
    Run(page);
    EXPECT_EQ(session.SelectedLogos.GetConvertedPath(0), dir.File("photoTemp.bmp"));
    EXPECT_EQ(session.SelectedLogos.GetMode(0), 3) << "the conversion mode stays as it was";
    EXPECT_EQ(session.FlashLogos.GetConvertedPath(0), dir.File("photoTemp.bmp"));
    const Units writes = link->Writes();
    ASSERT_EQ(writes.size(), 3u);
    // The black half prints full columns 0..7. In the white half "Dither M3"
    // leaves one dot black where the matrix holds 63: file row 7, column 0 of
    // the tile, which in this bottom-up file is the picture's top row at x = 8.
    for (int x = 0; x < 8; ++x)
        EXPECT_EQ(writes[2][x], 0xFF) << x;
    EXPECT_EQ(writes[2][8], 0x80);
    for (int x = 9; x < 32; ++x)
        EXPECT_EQ(writes[2][x], 0x00) << x;
    UnbindPixmelt();
}

// A PNG with alpha, a JPEG stored turned (orientation 6) and a GIF are picked
// and downloaded to FLASH and to NV graphics: the bytes sent are those of the
// same pictures saved as 24-bit BMPs (transparent pixels white).
TEST_F(DownloadJobTest, PicturesOfOtherFormatsSendTheDotsOfTheSamePictureAsBmp) {
    ASSERT_TRUE(BindPixmelt(PIXMELT_LIBRARY));
    const auto shade = [](int x, int y) {
        return test::Rgba{static_cast<unsigned char>(x * 9), static_cast<unsigned char>(y * 5),
                          static_cast<unsigned char>((x * y) % 256),
                          static_cast<unsigned char>(x < 6 ? 0 : 255)};
    };
    const std::vector<test::Rgba> palette = {{0, 0, 0, 255}, {90, 90, 90, 255}, {255, 0, 0, 255}};
    std::vector<unsigned char> indices;
    for (int i = 0; i < 20 * 12; ++i)
        indices.push_back(static_cast<unsigned char>(i % 7 % 3));
    const std::vector<unsigned char> jpeg = test::Jpeg(24, 40, shade, 6);
    test::WriteFileBytes(dir.File("a.png"), test::Png(30, 20, shade));
    test::WriteFileBytes(dir.File("b.jpg"), jpeg);
    test::WriteFileBytes(dir.File("c.gif"), test::Gif(20, 12, palette, {indices}, 1));
    // The same pictures as 24-bit BMPs: alpha onto white; the JPEG as decoded
    // upright; the GIF's palette, its transparent colour white.
    RgbPicture upright = DecodePicture(jpeg).picture;
    if (!JpegSupported())
        upright = RgbPicture{40, 24, std::vector<unsigned char>(40 * 24 * 3, 255)};
    ASSERT_EQ(upright.width, 40) << "turned";
    test::WriteFileBytes(dir.File("a.bmp"), Bmp24(30, 20, [&](int x, int y) {
                             const test::Rgba c = shade(x, y);
                             return c.a == 0 ? Rgb{255, 255, 255} : Rgb{c.r, c.g, c.b};
                         }));
    test::WriteFileBytes(dir.File("b.bmp"), Bmp24(40, 24, [&](int x, int y) {
                             const unsigned char* p = &upright.pixels[(y * 40 + x) * 3];
                             return Rgb{p[0], p[1], p[2]};
                         }));
    test::WriteFileBytes(
        dir.File("c.bmp"), Bmp24(20, 12, [&](int x, int y) {
            const int i = indices[y * 20 + x];
            return i == 1 ? Rgb{255, 255, 255} : Rgb{palette[i].r, palette[i].g, palette[i].b};
        }));
    const auto sent = [this](const std::vector<std::string>& files, Memory memory) {
        Session s;
        s.SetPauses({std::chrono::milliseconds(0), std::chrono::milliseconds(0)});
        s.StartDirectory = dir.Path().string();
        s.PortConfigured = true;
        auto fake = test::ConnectFake(s, kUsbLink, 4343);
        const PickOutcome picked = PickLogos(s, files);
        EXPECT_EQ(picked.added, static_cast<int>(files.size()));
        RecordingDownloadPage page(memory);
        StartDownload(s, page);
        EXPECT_TRUE(WaitForDownload(s, std::chrono::seconds(20)));
        EXPECT_TRUE(s.*Describe(memory).downloaded);
        PortClose(s.PortHandle);
        return std::pair{fake->Writes(), s.SelectedLogos.Entries()};
    };
    // A build without a JPEG reader (Windows) takes the other two.
    std::vector<std::string> pictures = {dir.File("a.png"), dir.File("c.gif")};
    std::vector<std::string> bmps = {dir.File("a.bmp"), dir.File("c.bmp")};
    if (JpegSupported()) {
        pictures.push_back(dir.File("b.jpg"));
        bmps.push_back(dir.File("b.bmp"));
    }
    for (Memory memory : {kFlashMemory, kNvMemory}) {
        SCOPED_TRACE(Describe(memory).texts.name);
        const auto [fromPictures, entries] = sent(pictures, memory);
        const auto [fromBmps, unused] = sent(bmps, memory);
        EXPECT_EQ(fromPictures, fromBmps);
        ASSERT_EQ(entries.size(), pictures.size());
        EXPECT_EQ(entries[1].name, "c.gif") << "the picked file's name";
        EXPECT_EQ(entries[1].source, dir.File("c.gif"));
        EXPECT_EQ(std::filesystem::path(entries[1].path).parent_path(), dir.File("picture-cache"));
    }
    UnbindPixmelt();
}

TEST_F(DownloadJobTest, DriverLinkWrapsTheJobInADocument) {
    PortClose(session.PortHandle);
    auto driver = test::ConnectFake(session, kDriverLink, 77);
    WriteAndPick(session, dir, "a.bmp", Bmp1(8, 8, All));
    RecordingDownloadPage page(kFlashMemory);
    Run(page);
    EXPECT_EQ(driver->Documents(), (std::vector<std::string>{"start My Document RAW", "end"}));
    EXPECT_TRUE(session.PrintNoticePending) << "set again when the job ends";

    driver->ClearDocuments();
    std::filesystem::remove(dir.File("a.bmp"));
    Run(page);
    EXPECT_EQ(driver->Documents(), (std::vector<std::string>{"start My Document RAW", "end"}))
        << "a job that fails without a failed write still ends its document";

    driver->ClearDocuments();
    driver->RefuseDocuments(true, false);
    RecordingDownloadPage refused(kFlashMemory);
    StartDownload(session, refused);
    WaitForDownload(session);
    EXPECT_TRUE(driver->Closed()) << "a refused document closes the printer";
    EXPECT_TRUE(refused.Enabled());
    EXPECT_TRUE(session.DownloadIdle);
}

}  // namespace
}  // namespace stampa
