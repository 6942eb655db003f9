// PNG, JPEG, GIF and the other BMPs decoded for the logo pipeline: what each
// format's pixels become, the EXIF orientation, and hostile files.
#include "logos/picture_decode.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include "support/bmp_files.h"
#include "support/picture_files.h"

namespace stampa {
namespace {

using test::Rgba;

// The grey level of the decoded pixel.
int Level(const RgbPicture& p, int x, int y) {
    const unsigned char* c = &p.pixels[(static_cast<std::size_t>(y) * p.width + x) * 3];
    return (c[0] + c[1] + c[2]) / 3;
}

// An 'F' of 8-dot blocks, 3 blocks wide and 5 high: dark where the letter is.
bool FBlock(int bx, int by) {
    return bx == 0 || by == 0 || (by == 2 && bx < 2);
}

TEST(PictureDecode, PngTransparencyIsPaperWhite) {
    const auto png = test::Png(4, 1, [](int x, int) {
        return std::array{Rgba{0, 0, 0, 255}, Rgba{255, 0, 0, 0}, Rgba{0, 0, 0, 128},
                          Rgba{0, 0, 255, 255}}[static_cast<std::size_t>(x)];
    });
    const DecodedPicture d = DecodePicture(png);
    ASSERT_EQ(d.error, PictureError::None);
    EXPECT_EQ(d.format, PictureFormat::Png);
    EXPECT_EQ(d.picture.pixels,
              (std::vector<unsigned char>{0, 0, 0, 255, 255, 255, 127, 127, 127, 0, 0, 255}));
}

// A camera stores the sensor's rows and says how to turn them; the decoded
// picture is the upright 'F' for each way of storing it.
TEST(PictureDecode, JpegIsTurnedUprightByItsExifOrientation) {
    struct Case {
        int orientation;
        // Where the upright block (bx, by) of a 3 x 5 'F' lies in the stored picture.
        std::function<std::pair<int, int>(int bx, int by)> stored;
        int storedW, storedH;
    };
    const Case cases[] = {
        {1,
         [](int bx, int by) {
             return std::pair{bx, by};
         },
         3, 5},
        {3,
         [](int bx, int by) {
             return std::pair{2 - bx, 4 - by};
         },
         3, 5},  // upside down
        {6,
         [](int bx, int by) {
             return std::pair{by, 2 - bx};
         },
         5, 3},  // turned left
        {8,
         [](int bx, int by) {
             return std::pair{4 - by, bx};
         },
         5, 3},  // turned right
        {2,
         [](int bx, int by) {
             return std::pair{2 - bx, by};
         },
         3, 5},  // mirrored
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.orientation);
        std::vector<std::vector<bool>> dark(c.storedH, std::vector<bool>(c.storedW));
        for (int by = 0; by < 5; ++by)
            for (int bx = 0; bx < 3; ++bx) {
                const auto [sx, sy] = c.stored(bx, by);
                dark[sy][sx] = FBlock(bx, by);
            }
        const auto jpeg = test::Jpeg(
            c.storedW * 8, c.storedH * 8,
            [&dark](int x, int y) {
                const unsigned char v = dark[y / 8][x / 8] ? 0 : 255;
                return Rgba{v, v, v, 255};
            },
            c.orientation);
        EXPECT_EQ(JpegOrientation(jpeg), c.orientation);
        const DecodedPicture d = DecodePicture(jpeg);
        ASSERT_EQ(d.error, PictureError::None);
        ASSERT_EQ(d.picture.width, 24);
        ASSERT_EQ(d.picture.height, 40);
        EXPECT_EQ(d.claimedWidth, 24);
        for (int by = 0; by < 5; ++by)
            for (int bx = 0; bx < 3; ++bx)
                EXPECT_EQ(Level(d.picture, bx * 8 + 4, by * 8 + 4) < 128, FBlock(bx, by))
                    << bx << "," << by;
    }
}

TEST(PictureDecode, GifFirstFrameWithItsTransparentColourWhite) {
    const std::vector<Rgba> palette = {{0, 0, 0, 255}, {200, 10, 10, 255}, {0, 255, 0, 255}};
    const auto gif = test::Gif(3, 2, palette, {{0, 1, 2, 2, 1, 0}, {0, 0, 0, 0, 0, 0}}, 2);
    const DecodedPicture d = DecodePicture(gif);
    ASSERT_EQ(d.error, PictureError::None);
    EXPECT_EQ(d.picture.pixels, (std::vector<unsigned char>{0, 0, 0, 200, 10, 10, 255, 255, 255,  //
                                                            255, 255, 255, 200, 10, 10, 0, 0, 0}))
        << "the second frame is not shown";
}

// RLE8: the bottom row a run of black, the top row three pixels as they are
// (padded to a word) and the fourth never reached: white. RLE4: two
// alternating indices in one run.
TEST(PictureDecode, RunLengthBmps) {
    const auto rle = [](std::uint16_t bits, std::uint32_t compression, std::int32_t w,
                        std::int32_t h, std::vector<unsigned char> codes) {
        auto file = test::BmpHeader(w, h, bits, compression, 54 + 8);
        file[46] = 2;                                             // colours used
        file.insert(file.end(), {255, 255, 255, 0, 0, 0, 0, 0});  // white, black
        file.insert(file.end(), codes.begin(), codes.end());
        return file;
    };
    const DecodedPicture eight =
        DecodePicture(rle(8, 1, 4, 2, {4, 1, 0, 0, 0, 3, 0, 1, 0, 0, 0, 1}));
    ASSERT_EQ(eight.error, PictureError::None);
    EXPECT_EQ(eight.picture.pixels,
              (std::vector<unsigned char>{255, 255, 255, 0, 0, 0, 255, 255, 255, 255, 255, 255,
                                          0,   0,   0,   0, 0, 0, 0,   0,   0,   0,   0,   0}));
    const DecodedPicture four = DecodePicture(rle(4, 2, 4, 1, {4, 0x10, 0, 1}));
    ASSERT_EQ(four.error, PictureError::None);
    EXPECT_EQ(four.picture.pixels,
              (std::vector<unsigned char>{0, 0, 0, 255, 255, 255, 0, 0, 0, 255, 255, 255}));
    EXPECT_EQ(DecodePicture(rle(8, 1, 4, 1, {5, 1, 0, 1})).error, PictureError::Corrupt)
        << "a run past the row";
    EXPECT_EQ(DecodePicture(rle(8, 1, 4, 2, {4, 1, 0, 0})).error, PictureError::Corrupt)
        << "no end code, rows left";
}

TEST(PictureDecode, ThirtyTwoBitBmp) {
    auto file = test::BmpHeader(2, 1, 32);
    file.insert(file.end(), {0, 0, 255, 255, 255, 0, 0, 255});  // red, blue (BGRA)
    const DecodedPicture d = DecodePicture(file);
    ASSERT_EQ(d.error, PictureError::None);
    EXPECT_EQ(d.picture.pixels, (std::vector<unsigned char>{255, 0, 0, 0, 0, 255}));
}

// A PNG whose IHDR claims another size, its CRC made right again.
std::vector<unsigned char> PngClaiming(std::uint32_t w, std::uint32_t h) {
    auto png = test::Png(2, 2, [](int, int) { return Rgba{}; });
    for (int i = 0; i < 4; ++i) {
        png[16 + i] = static_cast<unsigned char>(w >> (24 - 8 * i));
        png[20 + i] = static_cast<unsigned char>(h >> (24 - 8 * i));
    }
    const auto crc = static_cast<std::uint32_t>(crc32(0, &png[12], 17));
    for (int i = 0; i < 4; ++i)
        png[29 + i] = static_cast<unsigned char>(crc >> (24 - 8 * i));
    return png;
}

TEST(PictureDecode, HostileFilesAreRefusedBeforeAnythingIsDecoded) {
    const auto white = [](int, int) { return Rgba{255, 255, 255, 255}; };
    const auto png = test::Png(16, 16, white);
    const auto jpeg = test::Jpeg(16, 16, white);
    const auto gif = test::Gif(2, 2, {{0, 0, 0, 255}}, {{0, 0, 0, 0}});
    auto jpegClaiming = jpeg;  // SOF0: the height and width after the precision byte
    for (std::size_t i = 2; i + 9 < jpegClaiming.size(); ++i)
        if (jpegClaiming[i] == 0xFF && jpegClaiming[i + 1] == 0xC0) {
            jpegClaiming[i + 5] = jpegClaiming[i + 7] = 0x23;  // 9000 = 0x2328
            jpegClaiming[i + 6] = jpegClaiming[i + 8] = 0x28;
            break;
        }
    auto badCrc = png;
    badCrc[40] ^= 0x01;  // inside IDAT
    struct Case {
        const char* what;
        std::vector<unsigned char> bytes;
        PictureError error;
    };
    const Case cases[] = {
        {"empty", {}, PictureError::NotAPicture},
        {"text", {'h', 'e', 'l', 'l', 'o'}, PictureError::NotAPicture},
        {"PNG truncated", {png.begin(), png.end() - 20}, PictureError::Corrupt},
        {"PNG with a wrong CRC", badCrc, PictureError::Corrupt},
        {"PNG claiming 9000 x 9000", PngClaiming(9000, 9000), PictureError::TooManyPixels},
        {"PNG wider than a logo", PngClaiming(9000, 10), PictureError::TooLargeForALogo},
        {"PNG of zero size", PngClaiming(0, 0), PictureError::Corrupt},
        {"JPEG claiming 9000 x 9000", jpegClaiming, PictureError::TooManyPixels},
        {"JPEG truncated", {jpeg.begin(), jpeg.end() - 30}, PictureError::Corrupt},
        {"GIF without its trailer", {gif.begin(), gif.end() - 1}, PictureError::Corrupt},
        {"GIF of two frames", test::Gif(2, 1, {{0, 0, 0, 255}}, {{0, 0}, {0, 0}}),
         PictureError::None},
        {"BMP missing rows", test::BmpHeader(64, 64, 32), PictureError::Corrupt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(DecodePicture(c.bytes).error, c.error);
    }
}

}  // namespace
}  // namespace stampa
