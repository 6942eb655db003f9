#include "logos/bitmap_reader.h"

#include <gtest/gtest.h>

#include "common/messages.h"
#include "logos/logo_store.h"
#include "support/bmp_files.h"
#include "support/recording_operator.h"
#include "support/temp_dir.h"

namespace stampa {
namespace {

using test::BmpHeader;
using test::RecordingOperator;
using test::TempDir;
using test::WriteFileBytes;

struct AcceptanceCase {
    const char* what;
    std::vector<unsigned char> bytes;
    int mono;                           // IsMonoBitmap's result
    std::vector<std::string> monoSays;  // its messages
    int trueColor;                      // IsTrueColorBitmap's result
    std::vector<std::string> trueColorSays;
};

std::vector<unsigned char> WithType(std::vector<unsigned char> bytes, char a, char b) {
    bytes[0] = static_cast<unsigned char>(a);
    bytes[1] = static_cast<unsigned char>(b);
    return bytes;
}

std::vector<unsigned char> Truncated(std::vector<unsigned char> bytes, std::size_t size) {
    bytes.resize(size);
    return bytes;
}

const std::string kTooLarge = msg::kImageTooLarge;

std::vector<AcceptanceCase> AcceptanceCases() {
    return {
        {"1-bit at the limits", BmpHeader(8184, 2304, 1), 1, {}, 0, {}},
        {"1-bit one dot too wide", BmpHeader(8185, 10, 1), 0, {kTooLarge}, 0, {}},
        {"1-bit one row too high", BmpHeader(10, 2305, 1), 0, {kTooLarge}, 0, {}},
        {"24-bit at the limits", BmpHeader(8184, 2304, 24), 0, {}, 1, {}},
        {"24-bit too large", BmpHeader(9000, 10, 24), 0, {}, 0, {kTooLarge}},
        {"8-bit", BmpHeader(10, 10, 8), 0, {}, 0, {}},
        {"4-bit", BmpHeader(10, 10, 4), 0, {}, 0, {}},
        {"not BM, too large", WithType(BmpHeader(9000, 10, 1), 'B', 'A'), 0, {}, 0, {}},
        {"compressed 1-bit", BmpHeader(64, 64, 1, /*compression=*/1), 1, {}, 0, {}},
        {"top-down 1-bit", BmpHeader(100, -50, 1), 1, {}, 0, {}},
        {"top-down 24-bit too high", BmpHeader(100, -2305, 24), 0, {}, 0, {kTooLarge}},
        {"most negative height", BmpHeader(100, INT32_MIN, 1), 0, {kTooLarge}, 0, {}},
        {"width 0", BmpHeader(0, 10, 1), 0, {}, 0, {}},
        {"negative width", BmpHeader(-8, 10, 24), 0, {}, 0, {}},
        {"height 0", BmpHeader(8, 0, 24), 0, {}, 0, {}},
        {"53 bytes",
         Truncated(BmpHeader(8, 8, 1), 53),
         0,
         {msg::kOpenBitmapFailed},
         0,
         {msg::kOpenBitmapFailed}},
    };
}

TEST(BitmapReader, AcceptsAndRefusesWithTheRightMessages) {
    TempDir dir;
    for (const AcceptanceCase& c : AcceptanceCases()) {
        SCOPED_TRACE(c.what);
        const std::string path = dir.File("case.bmp");
        WriteFileBytes(path, c.bytes);
        RecordingOperator op;
        EXPECT_EQ(IsMonoBitmap(path), c.mono);
        EXPECT_EQ(op.Texts(), c.monoSays);
        op.Clear();
        EXPECT_EQ(IsTrueColorBitmap(path), c.trueColor);
        EXPECT_EQ(op.Texts(), c.trueColorSays);
        for (const auto& m : op.Shown())
            EXPECT_EQ(m.kind, MessageKind::Information);
    }
}

TEST(BitmapReader, MissingFileAndFolderCannotBeOpened) {
    TempDir dir;
    for (const std::string& path : {dir.File("absent.bmp"), dir.Path().string()}) {
        RecordingOperator op;
        EXPECT_EQ(IsMonoBitmap(path), 0);
        EXPECT_EQ(IsTrueColorBitmap(path), 0);
        EXPECT_EQ(op.Texts(),
                  (std::vector<std::string>{msg::kOpenBitmapFailed, msg::kOpenBitmapFailed}));
    }
}

TEST(BitmapReader, OneBitSizeRoundsRowsUpTo32Dots) {
    EXPECT_EQ(OneBitImageSize(1, 1), 4u);
    EXPECT_EQ(OneBitImageSize(32, 10), 40u);
    EXPECT_EQ(OneBitImageSize(33, 10), 80u);
    EXPECT_EQ(OneBitImageSize(100, 50), 800u);
    EXPECT_EQ(OneBitImageSize(100, -50), 800u);
    EXPECT_EQ(OneBitImageSize(-5, 50), 0u);
    EXPECT_EQ(OneBitImageSize(INT32_MAX, INT32_MIN), UINT32_MAX);  // saturates, never wraps
}

class GeometryTest : public ::testing::Test {
  protected:
    LogoStore logos;
    TempDir dir;
};

TEST_F(GeometryTest, SetsSizeWidthAndHeightOfTheEntry) {
    const std::string path = dir.File("a.bmp");
    WriteFileBytes(path, BmpHeader(33, 10, 24));
    ASSERT_EQ(logos.SelectedLogos.Append(0, "a.bmp", path, path, 0, 0, 0, 0), 1);
    ReadBitmapGeometry(logos.SelectedLogos, 0);
    EXPECT_EQ(logos.SelectedLogos.GetSize(0), 80u);
    EXPECT_EQ(logos.SelectedLogos.GetWidth(0), 33u);
    EXPECT_EQ(logos.SelectedLogos.GetHeight(0), 10u);
}

TEST_F(GeometryTest, TopDownBitmapGetsItsAbsoluteHeight) {
    const std::string path = dir.File("down.bmp");
    WriteFileBytes(path, BmpHeader(100, -50, 1));
    ASSERT_EQ(logos.SelectedLogos.Append(0, "down.bmp", path, path, 0, 0, 0, 0), 1);
    ReadBitmapGeometry(logos.SelectedLogos, 0);
    EXPECT_EQ(logos.SelectedLogos.GetHeight(0), 50u);
    EXPECT_EQ(logos.SelectedLogos.GetSize(0), 800u);
}

TEST_F(GeometryTest, UnreadableFileOrBadPositionLeavesTheEntryAlone) {
    RecordingOperator op;
    ASSERT_EQ(logos.SelectedLogos.Append(0, "gone.bmp", dir.File("gone.bmp"), "", 5, 6, 7, 0), 1);
    ReadBitmapGeometry(logos.SelectedLogos, 0);
    ReadBitmapGeometry(logos.SelectedLogos, -1);
    EXPECT_EQ(logos.SelectedLogos.GetSize(0), 5u);
    EXPECT_EQ(logos.SelectedLogos.GetWidth(0), 6u);
    EXPECT_EQ(logos.SelectedLogos.GetHeight(0), 7u);
    EXPECT_TRUE(op.Shown().empty());
}

TEST_F(GeometryTest, ShortFileReadsMissingFieldsAsZero) {
    const std::string path = dir.File("short.bmp");
    std::vector<unsigned char> bytes = BmpHeader(64, 20, 1);
    bytes.resize(22);  // width present, height missing
    WriteFileBytes(path, bytes);
    ASSERT_EQ(logos.SelectedLogos.Append(0, "short.bmp", path, path, 9, 9, 9, 0), 1);
    ReadBitmapGeometry(logos.SelectedLogos, 0);
    EXPECT_EQ(logos.SelectedLogos.GetWidth(0), 64u);
    EXPECT_EQ(logos.SelectedLogos.GetHeight(0), 0u);
    EXPECT_EQ(logos.SelectedLogos.GetSize(0), 0u);
}

}  // namespace
}  // namespace stampa
