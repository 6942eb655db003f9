// The library as the program uses it: loaded by name, called
// through its exported `pixmelt` on BMP files in a temporary folder.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <memory>

#include "common/bytes.h"
#include "common/library_loader.h"
#include "pixmelt/pixmelt.h"
#include "reference_pixmelt.h"
#include "support/bmp_files.h"
#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;
using stampa::ReadI32;
using stampa::ReadU32;
using stampa::test::Bmp1;
using stampa::test::Bmp24;
using stampa::test::BmpHeader;
using stampa::test::ReadFileBytes;
using stampa::test::Rgb;
using stampa::test::TempDir;
using stampa::test::WriteFileBytes;

// Asymmetric pictures that expose flips, channel swaps and odd widths.
Rgb FShape(int x, int y) {
    const bool ink = x == 2 || (y == 1 && x < 10) || (y == 3 && x < 7);
    return ink ? Rgb{230, 20, 20} : Rgb{10, 40, 200};
}
Rgb Photo(int x, int y) {
    unsigned s = static_cast<unsigned>(x * 7919 + y * 104729) * 2654435761u;
    auto n = [&](int shift) { return static_cast<int>((s >> shift) & 63); };
    auto c = [](int v) { return static_cast<unsigned char>(v < 0 ? 0 : (v > 255 ? 255 : v)); };
    return Rgb{c(x * 5 + n(3)), c(y * 9 + n(11)), c(200 - x * 2 - y + n(19))};
}
Rgb White(int, int) {
    return {255, 255, 255};
}
Rgb Black(int, int) {
    return {0, 0, 0};
}

class PixmeltCall : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        library_ = stampa::LoadedLibrary::Load(PIXMELT_LIBRARY).release();
        ASSERT_NE(library_, nullptr) << PIXMELT_LIBRARY;
        convert_ = reinterpret_cast<PixmeltFunction>(library_->Symbol("pixmelt"));
        ASSERT_NE(convert_, nullptr);
    }
    static void TearDownTestSuite() { delete library_; }

    int Run(const std::string& input, int method, int contrast = 0, int brightness = 0) {
        std::memset(out_, 0, sizeof out_);
        return convert_(input.c_str(), out_, method, contrast, brightness);
    }
    std::string Out() const { return std::string(out_); }
    std::string Write(const std::string& name, const std::vector<unsigned char>& bytes) {
        const std::string path = dir_.File(name);
        WriteFileBytes(path, bytes);
        return path;
    }
    // The 1-bit rows of a written output file.
    static std::vector<std::uint8_t> Rows(const std::string& path) {
        const auto bytes = ReadFileBytes(path);
        return {bytes.begin() + 62, bytes.end()};
    }

    static inline stampa::LoadedLibrary* library_ = nullptr;
    static inline PixmeltFunction convert_ = nullptr;
    char out_[PIXMELT_OUTPUT_PATH_SIZE];
    TempDir dir_;
};

TEST_F(PixmeltCall, RefusalsAndTheirOutputPaths) {
    EXPECT_EQ(Run(dir_.File("absent.bmp"), 1), -1);
    EXPECT_EQ(Out(), "");

    struct Case {
        const char* what;
        std::vector<unsigned char> bytes;
        int result;
    };
    auto notBm = Bmp24(4, 4, White);
    notBm[1] = 'A';
    const Case cases[] = {
        {"not BM", notBm, -2},
        {"1-bit", Bmp1(8, 8, [](int, int) { return true; }), 2},
        {"compressed 1-bit", BmpHeader(8, 8, 1, 2), 2},
        {"8-bit", BmpHeader(8, 8, 8), -2},
        {"compressed 24-bit", BmpHeader(8, 8, 24, 1), -2},
        {"width 0", BmpHeader(0, 8, 24), -2},
        {"negative width", BmpHeader(-8, 8, 24), -2},
        {"height 0", BmpHeader(8, 0, 24), -2},
        {"54 zero bytes", std::vector<unsigned char>(54, 0), -2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string input = Write("logo.bmp", c.bytes);
        EXPECT_EQ(Run(input, 1), c.result);
        EXPECT_EQ(Out(), input);
        EXPECT_FALSE(fs::exists(dir_.File("logoTemp.bmp")));
    }
}

TEST_F(PixmeltCall, HeadersAskingForAbsurdSizesFailWithoutTouchingTheBuffer) {
    for (auto [w, h] : {std::pair{100000, 100000}, {INT32_MAX, 1}, {1, INT32_MIN}}) {
        const std::string input = Write("huge.bmp", BmpHeader(w, h, 24));
        EXPECT_EQ(Run(input, 1), -1) << w << " x " << h;
        EXPECT_EQ(Out(), "");
    }
}

TEST_F(PixmeltCall, MethodNoneHandsBackTheInputAndWritesNothing) {
    const std::string input = Write("shop.bmp", Bmp24(5, 3, FShape));
    EXPECT_EQ(Run(input, -1), 1);
    EXPECT_EQ(Out(), input);
    EXPECT_FALSE(fs::exists(dir_.File("shopTemp.bmp")));
}

TEST_F(PixmeltCall, DerivedNamesDropTheLastFourCharacters) {
    const std::string shop = Write("shop.bmp", Bmp24(5, 3, FShape));
    EXPECT_EQ(Run(shop, 0), 1);
    EXPECT_EQ(Out(), dir_.File("shopTemp.bmp"));
    EXPECT_TRUE(fs::exists(Out()));
    const std::string again = Write("shopTemp.bmp", Bmp24(5, 3, FShape));  // 24-bit once more
    EXPECT_EQ(Run(again, 0), 1);
    EXPECT_EQ(Out(), dir_.File("shopTempTemp.bmp"));
    const std::string bare = Write("shop", Bmp24(5, 3, FShape));
    EXPECT_EQ(Run(bare, 0), 1);
    EXPECT_EQ(Out(), dir_.File("Temp.bmp"));
}

TEST_F(PixmeltCall, NamesThatCannotBeDerivedLeaveTheBufferEmpty) {
    const fs::path saved = fs::current_path();
    fs::current_path(dir_.Path());
    WriteFileBytes("a.bm", Bmp24(5, 3, FShape));
    EXPECT_EQ(Run("a.bm", 1), -1);
    EXPECT_EQ(Out(), "");
    fs::current_path(saved);

    // A path of 497 characters: its derived name needs 501 bytes with the zero.
    std::string folder = dir_.Path().string();
    while (folder.size() < 420)
        folder += "/" + std::string(40, 'd');
    fs::create_directories(folder);
    const std::string input = folder + "/" + std::string(497 - folder.size() - 5, 'n') + ".bmp";
    ASSERT_EQ(input.size(), 497u);
    WriteFileBytes(input, Bmp24(5, 3, FShape));
    EXPECT_EQ(Run(input, 1), -1);
    EXPECT_EQ(Out(), "");
}

TEST_F(PixmeltCall, OutputThatCannotBeWrittenLeavesTheOldOneAndNoDebris) {
    const std::string input = Write("shop.bmp", Bmp24(5, 3, FShape));
    fs::create_directories(dir_.File("shopTemp.bmp/keep"));  // a folder stands in the way
    EXPECT_EQ(Run(input, 1), -1);
    EXPECT_EQ(Out(), dir_.File("shopTemp.bmp"));
    EXPECT_TRUE(fs::is_directory(dir_.File("shopTemp.bmp/keep")));
    int entries = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(dir_.Path()))
        ++entries;
    EXPECT_EQ(entries, 2);
}

TEST_F(PixmeltCall, WritesTheSixtyTwoByteHeaderAndPaddedRows) {
    const std::string input = Write("odd.bmp", Bmp24(33, 5, Photo));
    ASSERT_EQ(Run(input, 3), 1);
    const auto bytes = ReadFileBytes(Out());
    ASSERT_EQ(bytes.size(), 62u + 8 * 5);
    const std::vector<unsigned char> want = {
        'B', 'M', 102, 0, 0,    0,    0,    0, 0, 0, 62, 0, 0, 0,  // file header
        40,  0,   0,   0, 33,   0,    0,    0, 5, 0, 0,  0, 1, 0, 1, 0, 0, 0, 0, 0,
        40,  0,   0,   0, 0,    0,    0,    0, 0, 0, 0,  0, 0, 0, 0, 0, 0, 0, 0, 0,  // info header
        0,   0,   0,   0, 0xFF, 0xFF, 0xFF, 0};                                      // palette
    EXPECT_EQ(std::vector<unsigned char>(bytes.begin(), bytes.begin() + 62), want);
    for (int row = 0; row < 5; ++row) {
        const unsigned char* r = &bytes[62 + 8 * row];
        EXPECT_EQ(r[4] & 0x7F, 0) << "bits past pixel 32 stay clear";
        EXPECT_EQ(r[5] | r[6] | r[7], 0);
    }
}

TEST_F(PixmeltCall, UnknownMethodWritesAnAllBlackPicture) {
    const std::string input = Write("seven.bmp", Bmp24(9, 4, White));
    ASSERT_EQ(Run(input, 7), 1);
    const auto bytes = ReadFileBytes(Out());
    EXPECT_EQ(ReadI32(&bytes[18]), 9);
    EXPECT_EQ(ReadI32(&bytes[22]), 4);
    EXPECT_EQ(Rows(Out()), std::vector<std::uint8_t>(16, 0));
}

TEST_F(PixmeltCall, TopDownInputStaysTopDown) {
    const std::string up = Write("up.bmp", Bmp24(13, 7, FShape));
    const std::string down = Write("down.bmp", Bmp24(13, -7, FShape));
    ASSERT_EQ(Run(up, 0), 1);
    const auto upRows = Rows(Out());
    ASSERT_EQ(Run(down, 0), 1);
    const auto downBytes = ReadFileBytes(Out());
    EXPECT_EQ(ReadI32(&downBytes[22]), -7);
    const auto downRows = Rows(Out());
    ASSERT_EQ(upRows.size(), downRows.size());
    for (int r = 0; r < 7; ++r) {  // threshold has no phase: the same rows, in reverse order
        EXPECT_TRUE(std::equal(upRows.begin() + 4 * r, upRows.begin() + 4 * r + 4,
                               downRows.begin() + 4 * (6 - r)));
    }
}

TEST_F(PixmeltCall, PixelsAreTakenFromTheirOffset) {
    // A BMP with a 124-byte info header, as modern tools write it.
    auto plain = Bmp24(13, 7, FShape);
    std::vector<unsigned char> modern(plain.begin(), plain.begin() + 54);
    stampa::WriteU32(&modern[10], 138);
    stampa::WriteU32(&modern[14], 124);
    modern.resize(138, 0);
    modern.insert(modern.end(), plain.begin() + 54, plain.end());
    ASSERT_EQ(Run(Write("plain.bmp", plain), 2), 1);
    const auto want = Rows(Out());
    ASSERT_EQ(Run(Write("modern.bmp", modern), 2), 1);
    EXPECT_EQ(Rows(Out()), want);

    auto pastEnd = plain;  // an offset outside the file: the rows start after the headers
    stampa::WriteU32(&pastEnd[10], 100000);
    ASSERT_EQ(Run(Write("past.bmp", pastEnd), 2), 1);
    EXPECT_EQ(Rows(Out()), want);
}

TEST_F(PixmeltCall, MissingPixelsOfAShortFileReadAsBlack) {
    auto white = Bmp24(16, 16, White);
    white.resize(54 + 48 * 8);  // only the first 8 file rows
    ASSERT_EQ(Run(Write("short.bmp", white), 1), 1);
    const auto rows = Rows(Out());
    for (int r = 8; r < 16; ++r) {
        for (int b = 0; b < 4; ++b)
            EXPECT_EQ(rows[4 * r + b], 0) << "row " << r;
    }
    EXPECT_EQ(rows[0], 0xFF);
}

TEST_F(PixmeltCall, FlatPicturesGiveTheirKnownPatterns) {
    const std::string white = Write("white.bmp", Bmp24(32, 32, White));
    const std::string black = Write("black.bmp", Bmp24(32, 32, Black));
    const std::string grey = Write("grey.bmp", Bmp24(32, 32, [](int, int) {
                                       return Rgb{90, 90, 90};
                                   }));
    auto isWhite = [](const std::vector<std::uint8_t>& rows, int x, int y) {
        return (rows[4 * y + x / 8] >> (7 - x % 8)) & 1;
    };
    ASSERT_EQ(Run(grey, 0), 1);
    EXPECT_EQ(Rows(Out()), std::vector<std::uint8_t>(128, 0)) << "nothing above the mean";
    ASSERT_EQ(Run(white, 1), 1);
    auto rows = Rows(Out());
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            EXPECT_EQ(isWhite(rows, x, y), !(y % 8 == 7 && x % 8 == 0)) << x << "," << y;
        }
    }
    ASSERT_EQ(Run(white, 2), 1);
    rows = Rows(Out());
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            EXPECT_EQ(isWhite(rows, x, y), !(y % 16 == 7 && x % 16 == 8)) << x << "," << y;
        }
    }
    ASSERT_EQ(Run(white, 3), 1);
    EXPECT_EQ(Rows(Out()), std::vector<std::uint8_t>(128, 0xFF));
    ASSERT_EQ(Run(black, 3), 1);
    EXPECT_EQ(Rows(Out()), std::vector<std::uint8_t>(128, 0));
}

struct Picture {
    const char* name;
    int width, height;
    Rgb (*pixel)(int, int);
};

// Every method at several settings, against the plain transcription, on
// pictures with odd widths, a single row, and rows wider than 1500 dots.
TEST_F(PixmeltCall, EveryMethodMatchesThePlainTranscription) {
    const Picture pictures[] = {
        {"F", 13, 7, FShape},         {"photo", 37, 23, Photo}, {"one row", 29, 1, Photo},
        {"one column", 1, 17, Photo}, {"wide", 1601, 3, Photo},
    };
    const int settings[][2] = {{0, 0},    {-100, 0},  {100, 0},  {-20, 15},
                               {50, -30}, {-28, 100}, {1, -100}, {-1, 1}};
    for (const Picture& p : pictures) {
        const auto file = Bmp24(p.width, p.height, p.pixel);
        const std::string input = Write(std::string(p.name) + ".bmp", file);
        for (int method = 0; method <= 3; ++method) {
            for (const auto& s : settings) {
                SCOPED_TRACE(::testing::Message() << p.name << " method " << method << " contrast "
                                                  << s[0] << " brightness " << s[1]);
                ASSERT_EQ(Run(input, method, s[0], s[1]), 1);
                EXPECT_EQ(Rows(Out()), melt::reference::Convert(&file[54], p.width, p.height,
                                                                method, s[0], s[1]));
            }
        }
    }
}

TEST_F(PixmeltCall, ErrorDiffusionRunsRowZeroRightToLeft) {
    // One row, luminance 100 everywhere, scanned from x = 7 leftwards:
    // x7 100 black (carries 37), x6 137 white (-44), x5 56 black (21),
    // x4 121 black (45), x3 145 white (-41), x2 59 black (22), x1 122 black (45),
    // x0 145 white. Scanned the other way the pattern would be mirrored.
    const std::string input = Write("row.bmp", Bmp24(8, 1, [](int, int) {
                                        return Rgb{100, 100, 100};
                                    }));
    ASSERT_EQ(Run(input, 3), 1);
    EXPECT_EQ(Rows(Out())[0], 0b10010010);
}

}  // namespace
