#include "logos/column_image.h"

#include <gtest/gtest.h>

#include "common/bytes.h"
#include "support/bmp_files.h"

namespace stampa {
namespace {

using test::Bmp1;
using Bytes = std::vector<std::uint8_t>;

ColumnImage Load(const Bytes& file) {
    ColumnImageError error = ColumnImageError::None;
    auto image = ColumnImageFromBytes(file, &error);
    EXPECT_TRUE(image) << static_cast<int>(error);
    return image ? *image : ColumnImage{};
}

Bytes Column(const ColumnImage& image, int x) {
    const auto at = image.data.begin() + x * image.bands;
    return Bytes(at, at + image.bands);
}

bool AllBlank(const ColumnImage& image, int fromColumn) {
    for (int x = fromColumn; x < image.stride * 8; ++x)
        for (std::uint8_t b : Column(image, x))
            if (b != 0)
                return false;
    return true;
}

auto All = [](int, int) { return true; };

TEST(ColumnImage, ThirtyTwoByEightHasOneBandOfFourBytes) {
    const ColumnImage image = Load(Bmp1(32, 8, [](int, int) { return false; }));
    EXPECT_EQ(image.stride, 4);
    EXPECT_EQ(image.bands, 1);
    EXPECT_EQ(image.data.size(), 32u);
    EXPECT_TRUE(AllBlank(image, 0));
}

TEST(ColumnImage, AllBlackEightByEight) {
    const ColumnImage image = Load(Bmp1(8, 8, All));
    Bytes want(8, 0xFF);
    want.resize(32, 0x00);
    EXPECT_EQ(image.data, want);
}

TEST(ColumnImage, TopLeftDotIsTheHighBitOfColumnZero) {
    const ColumnImage image = Load(Bmp1(16, 16, [](int x, int y) { return x == 0 && y == 0; }));
    EXPECT_EQ(Column(image, 0), (Bytes{0x80, 0x00}));
    EXPECT_TRUE(AllBlank(image, 1));
}

TEST(ColumnImage, TenRowsFillTheFirstBandFromBelow) {
    const ColumnImage image = Load(Bmp1(8, 10, All));
    EXPECT_EQ(image.bands, 2);
    for (int x = 0; x < 8; ++x)
        EXPECT_EQ(Column(image, x), (Bytes{0x03, 0xFF})) << x;
    EXPECT_TRUE(AllBlank(image, 8));
}

TEST(ColumnImage, OddWidthsAreMaskedAndPaddedWithBlank) {
    // 33 wide, every pixel black: columns 0..32 full, the rest of the 64 blank.
    const ColumnImage wide = Load(Bmp1(33, 8, All));
    EXPECT_EQ(wide.stride, 8);
    EXPECT_EQ(Column(wide, 32), Bytes{0xFF});
    EXPECT_TRUE(AllBlank(wide, 33));
    const ColumnImage narrow = Load(Bmp1(1, 8, All));
    EXPECT_EQ(Column(narrow, 0), Bytes{0xFF});
    EXPECT_TRUE(AllBlank(narrow, 1));
}

TEST(ColumnImage, AnFShapeKeepsItsOrientation) {
    // An F: the stem at x = 0, bars at y = 0 (x < 5) and y = 2 (x < 3).
    auto f = [](int x, int y) { return x == 0 || (y == 0 && x < 5) || (y == 2 && x < 3); };
    for (int h : {8, -8}) {  // bottom-up and top-down files print the same
        const ColumnImage image = Load(Bmp1(7, h, f));
        EXPECT_EQ(Column(image, 0), Bytes{0xFF}) << h;
        EXPECT_EQ(Column(image, 1), Bytes{0xA0}) << h;  // rows 0 and 2
        EXPECT_EQ(Column(image, 4), Bytes{0x80}) << h;
        EXPECT_EQ(Column(image, 5), Bytes{0x00}) << h;
    }
}

TEST(ColumnImage, DotsAreDarkPixelsWhateverThePaletteOrder) {
    auto diagonal = [](int x, int y) { return x == y; };
    EXPECT_EQ(Load(Bmp1(8, 8, diagonal, /*darkIsOne=*/true)).data, Load(Bmp1(8, 8, diagonal)).data);
}

TEST(ColumnImage, RowsComeFromThePixelOffsetWhateverTheSizeField) {
    Bytes file = Bmp1(8, 8, All);
    stampa::WriteU32(&file[34], 0);  // image size left 0, as many writers do
    EXPECT_EQ(Load(file).data, Load(Bmp1(8, 8, All)).data);
    Bytes gap(file.begin(), file.begin() + 62);
    stampa::WriteU32(&gap[10], 70);
    gap.resize(70, 0xEE);
    gap.insert(gap.end(), file.begin() + 62, file.end());
    EXPECT_EQ(Load(gap).data, Load(Bmp1(8, 8, All)).data);
}

TEST(ColumnImage, BytesMissingAtTheEndPrintBlank) {
    Bytes file = Bmp1(8, 8, All);
    file.resize(62 + 4 * 4);  // the bottom four rows only
    const ColumnImage image = Load(file);
    for (int x = 0; x < 8; ++x)
        EXPECT_EQ(Column(image, x), Bytes{0x0F}) << x;
}

TEST(ColumnImage, RefusesWhatIsNoMonochromePicture) {
    ColumnImageError error = ColumnImageError::None;
    EXPECT_FALSE(ColumnImageFromBytes(test::BmpHeader(8, 8, 24), &error));
    EXPECT_EQ(error, ColumnImageError::NotMonochromeBmp);
    Bytes zeroWidth = Bmp1(8, 8, All);
    stampa::WriteI32(&zeroWidth[18], 0);
    EXPECT_FALSE(ColumnImageFromBytes(zeroWidth, &error));
    EXPECT_EQ(error, ColumnImageError::NoPixels);
    EXPECT_FALSE(ColumnImageFromBytes(Bytes(30, 0), &error));
    EXPECT_FALSE(LoadColumnImage("/nonexistent/logo.bmp", &error));
    EXPECT_EQ(error, ColumnImageError::CannotOpen);
}

TEST(ColumnImage, CommandLimits) {
    EXPECT_TRUE(FitsFlashCommand(1023, 288));
    EXPECT_FALSE(FitsFlashCommand(1024, 1));  // widths 8161..8184 round up to 1024 bytes
    EXPECT_FALSE(FitsFlashCommand(4, 289));
    EXPECT_TRUE(FitsRamCommand(255, 255));
    EXPECT_FALSE(FitsRamCommand(256, 1));  // 2017 dots wide
    EXPECT_EQ(StrideOf(2017), 256);
    EXPECT_EQ(StrideOf(8161), 1024);
}

}  // namespace
}  // namespace stampa
