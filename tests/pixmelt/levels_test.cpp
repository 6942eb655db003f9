#include "pixmelt/levels.h"

#include <gtest/gtest.h>

#include "pixmelt/binarize.h"

namespace melt {
namespace {

struct LevelCase {
    int value, contrast, brightness, expected;
};

TEST(StretchLevel, MatchesTheKnownValues) {
    const LevelCase cases[] = {
        {50, 50, 0, 0},     {0, 50, 0, 0},      {205, 50, 0, 255},  {255, 50, 0, 255},
        {128, 50, 0, 128},  {0, -50, 0, 50},    {255, -50, 0, 205}, {101, 100, 0, 4},
        {154, 100, 0, 250}, {51, -20, 0, 62},   {102, -20, 0, 105}, {204, -20, 0, 191},
        {255, -20, 0, 234}, {255, -28, 0, 226}, {0, -100, 0, 100},  {255, -100, 0, 155},
        {100, 0, 30, 130},  {250, 0, 30, 255},  {10, 0, -30, 0},
    };
    for (const LevelCase& c : cases) {
        EXPECT_EQ(StretchLevel(c.value, c.contrast, c.brightness), c.expected)
            << "value " << c.value << " contrast " << c.contrast << " brightness " << c.brightness;
    }
}

TEST(StretchLevel, ZeroContrastAndBrightnessLeaveEveryValue) {
    for (int p = 0; p < 256; ++p)
        EXPECT_EQ(StretchLevel(p, 0, 0), p);
}

TEST(StretchLevel, ExtremeArgumentsStayInRange) {
    for (int k : {INT32_MIN, -1000, -128, -127, 127, 128, 1000, INT32_MAX}) {
        for (int b : {INT32_MIN, -300, 0, 300, INT32_MAX}) {
            for (int p : {0, 1, 127, 254, 255}) {
                const int v = StretchLevel(p, k, b);
                ASSERT_GE(v, 0);
                ASSERT_LE(v, 255);
            }
        }
    }
}

TEST(ScaleAroundMean, MatchesTheKnownValues) {
    EXPECT_EQ(ScaleAroundMean(150, -25, 0, 100), 125);
    EXPECT_EQ(ScaleAroundMean(0, 1, 0, 100), 0);  // -10, clamped
    EXPECT_EQ(ScaleAroundMean(200, 100, 0, 100), 255);
    EXPECT_EQ(ScaleAroundMean(100, 100, 0, 100), 100);
    for (int p = 0; p < 256; ++p) {
        EXPECT_EQ(ScaleAroundMean(p, -100, 0, 77), 77) << p;  // contrast -100: the mean
        EXPECT_EQ(ScaleAroundMean(p, 0, 0, 77), p);
    }
    // (0 - 1) x 1.5 + 1 = -0.5 truncates toward zero, before the brightness is added.
    EXPECT_EQ(ScaleAroundMean(0, 5, 1, 1), 1);
}

TEST(Bayer, SixteenBySixteenRowsAsDefined) {
    const std::uint8_t row0[16] = {0, 128, 32, 160, 8,  136, 40, 168,
                                   3, 131, 35, 163, 11, 139, 43, 171};
    const std::uint8_t row8[16] = {2, 130, 34, 162, 10, 138, 42, 170,
                                   1, 129, 33, 161, 9,  137, 41, 169};
    for (int c = 0; c < 16; ++c) {
        EXPECT_EQ(Bayer16[0][c], row0[c]);
        EXPECT_EQ(Bayer16[8][c], row8[c]);
    }
    bool seen[256] = {};
    for (const auto& row : Bayer16) {
        for (std::uint8_t v : row) {
            EXPECT_FALSE(seen[v]) << int(v);
            seen[v] = true;
        }
    }
    EXPECT_EQ(Bayer16[7][8], 255);
    EXPECT_EQ(Bayer8[7][0], 63);
}

}  // namespace
}  // namespace melt
