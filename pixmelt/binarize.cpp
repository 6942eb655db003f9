#include "pixmelt/binarize.h"

#include <memory>
#include <vector>

#include "pixmelt/levels.h"

namespace melt {

const Bayer8Matrix Bayer8 = {{
    {0, 32, 8, 40, 2, 34, 10, 42},
    {48, 16, 56, 24, 50, 18, 58, 26},
    {12, 44, 4, 36, 14, 46, 6, 38},
    {60, 28, 52, 20, 62, 30, 54, 22},
    {3, 35, 11, 43, 1, 33, 9, 41},
    {51, 19, 59, 27, 49, 17, 57, 25},
    {15, 47, 7, 39, 13, 45, 5, 37},
    {63, 31, 55, 23, 61, 29, 53, 21},
}};

namespace {

// Bayer16 from Bayer8: four times the 8x8 value, plus 0 in the upper left
// quarter, 3 in the upper right, 2 in the lower left and 1 in the lower right.
Bayer16Matrix MakeBayer16() {
    Bayer16Matrix m{};
    for (int r = 0; r < 16; ++r) {
        for (int c = 0; c < 16; ++c) {
            const int q = r < 8 ? (c < 8 ? 0 : 3) : (c < 8 ? 2 : 1);
            m[r][c] = static_cast<std::uint8_t>(4 * Bayer8[r % 8][c % 8] + q);
        }
    }
    return m;
}

// Per-channel tables that already hold the luminance weight, so a pixel's
// luminance is three look-ups, two additions and a division by a constant.
struct LumaTables {
    std::array<std::uint32_t, 256> red, green, blue;

    LumaTables(const LevelTable& r, const LevelTable& g, const LevelTable& b) {
        for (int v = 0; v < 256; ++v) {
            red[v] = 299u * r[v];
            green[v] = 587u * g[v];
            blue[v] = 114u * b[v];
        }
    }
    std::uint8_t operator()(const std::uint8_t* bgr) const {
        return static_cast<std::uint8_t>((blue[bgr[0]] + green[bgr[1]] + red[bgr[2]]) / 1000u);
    }
};

void RowLuma(const Image24& in, int y, const LumaTables& luma, std::uint8_t* out) {
    const std::uint8_t* p = in.pixels + static_cast<std::size_t>(y) * in.stride24;
    for (int x = 0; x < in.width; ++x, p += 3) {
        out[x] = luma(p);
    }
}

// Converts one row: pixel x is white when its luminance is above
// limit[x % Period]. Eight pixels make one byte of the 1-bit row.
template <int Period>
void PackRow(const std::uint8_t* px, int width, const LumaTables& luma, const std::uint8_t* limit,
             std::uint8_t* bits) {
    int x = 0;
    for (; x + 8 <= width; x += 8, px += 24) {
        unsigned byte = 0;
        for (int i = 0; i < 8; ++i) {
            byte = (byte << 1) | (luma(px + 3 * i) > limit[(x + i) % Period] ? 1u : 0u);
        }
        bits[x / 8] = static_cast<std::uint8_t>(byte);
    }
    for (; x < width; ++x, px += 3) {
        if (luma(px) > limit[x % Period]) {
            bits[x / 8] |= static_cast<std::uint8_t>(0x80u >> (x % 8));
        }
    }
}

template <int Period, typename LimitsOfRow>
void ConvertRows(const Image24& in, Image1& out, const LumaTables& luma, LimitsOfRow limits) {
    for (int y = 0; y < in.rows; ++y) {
        PackRow<Period>(in.pixels + static_cast<std::size_t>(y) * in.stride24, in.width, luma,
                        limits(y), out.bits + static_cast<std::size_t>(y) * out.stride);
    }
}

struct ChannelSums {
    std::uint64_t red = 0, green = 0, blue = 0;
};

// Sums of the adjusted channel values, from per-channel histograms: counting
// is cheaper than looking up each value, and the adjustment is applied once
// per value. Two sets of counters, for even and odd dots, keep runs of equal
// values (flat areas) from making each count wait for the one before.
ChannelSums SumChannels(const Image24& image, const LevelTable& level) {
    std::array<std::array<std::uint32_t, 256>, 6> counts{};  // 19 M dots at most: no overflow
    for (int y = 0; y < image.rows; ++y) {
        const std::uint8_t* p = image.pixels + static_cast<std::size_t>(y) * image.stride24;
        int x = 0;
        for (; x + 2 <= image.width; x += 2, p += 6) {
            ++counts[0][p[0]];
            ++counts[1][p[1]];
            ++counts[2][p[2]];
            ++counts[3][p[3]];
            ++counts[4][p[4]];
            ++counts[5][p[5]];
        }
        if (x < image.width) {
            ++counts[0][p[0]];
            ++counts[1][p[1]];
            ++counts[2][p[2]];
        }
    }
    ChannelSums sums;
    for (int v = 0; v < 256; ++v) {
        sums.blue += std::uint64_t{counts[0][v] + counts[3][v]} * level[v];
        sums.green += std::uint64_t{counts[1][v] + counts[4][v]} * level[v];
        sums.red += std::uint64_t{counts[2][v] + counts[5][v]} * level[v];
    }
    return sums;
}

LevelTable IdentityTable() {
    LevelTable t{};
    for (int v = 0; v < 256; ++v)
        t[v] = static_cast<std::uint8_t>(v);
    return t;
}

std::uint64_t PixelCount(const Image24& image) {
    return static_cast<std::uint64_t>(image.width) * static_cast<std::uint64_t>(image.rows);
}

}  // namespace

const Bayer16Matrix Bayer16 = MakeBayer16();

int MeanLuma(const Image24& image, int contrast, int brightness) {
    const ChannelSums s = SumChannels(image, StretchTable(contrast, brightness));
    const std::uint64_t n = PixelCount(image);
    const auto r = static_cast<int>(s.red / n);
    const auto g = static_cast<int>(s.green / n);
    const auto b = static_cast<int>(s.blue / n);
    return (587 * g + 299 * r + 114 * b) / 1000;
}

ChannelMeanValues ChannelMeans(const Image24& image) {
    const ChannelSums s = SumChannels(image, IdentityTable());
    const std::uint64_t n = PixelCount(image);
    return {static_cast<int>(s.red / n), static_cast<int>(s.green / n),
            static_cast<int>(s.blue / n)};
}

void ThresholdMethod(const Image24& in, Image1& out, int contrast, int brightness) {
    const int t = MeanLuma(in, contrast, brightness);
    const LevelTable level = StretchTable(contrast, brightness);
    const std::uint8_t limit[1] = {static_cast<std::uint8_t>(t)};
    ConvertRows<1>(in, out, LumaTables(level, level, level), [&](int) { return limit; });
}

void DitherM3Method(const Image24& in, Image1& out, int contrast, int brightness) {
    // (L / 4) > m  is  L > 4m + 3.
    std::array<std::array<std::uint8_t, 8>, 8> limits{};
    for (int r = 0; r < 8; ++r) {
        for (int c = 0; c < 8; ++c)
            limits[r][c] = static_cast<std::uint8_t>(4 * Bayer8[r][c] + 3);
    }
    const LevelTable level = StretchTable(contrast, brightness);
    ConvertRows<8>(in, out, LumaTables(level, level, level),
                   [&](int y) { return limits[y % 8].data(); });
}

void DitherM4Method(const Image24& in, Image1& out, int contrast, int brightness) {
    const ChannelMeanValues means = ChannelMeans(in);
    const LumaTables luma(ScaleAroundMeanTable(contrast, brightness, means.red),
                          ScaleAroundMeanTable(contrast, brightness, means.green),
                          ScaleAroundMeanTable(contrast, brightness, means.blue));
    ConvertRows<16>(in, out, luma, [&](int y) { return Bayer16[y % 16].data(); });
}

// One row of error diffusion in one direction. The error goes 3/8 to the next
// dot of the row, 3/8 straight below and 1/4 diagonally below in scan
// direction, each share truncated toward zero. A dot of the next row gets its
// diagonal share from the dot scanned just before, so next[] is written once
// per dot instead of being accumulated.
template <int Step>
void DiffuseRow(const std::uint8_t* luma, int width, const int* current, int* next, bool lastRow,
                std::uint8_t* bits) {
    int carried = 0;
    int diagonal = 0;  // share of the previous dot for the dot below the current one
    unsigned byte = 0;
    for (int i = 0; i < width; ++i) {
        const int x = Step > 0 ? i : width - 1 - i;
        const int v = luma[x] + current[x] + carried;
        const bool white = v > 128;
        const int e = v - (white ? 255 : 0);
        carried = e * 3 / 8;  // integer division truncates toward zero
        if (!lastRow) {
            next[x] = diagonal + e * 3 / 8;
            diagonal = e / 4;
        }
        byte |= static_cast<unsigned>(white) << (7 - (x & 7));
        const bool byteDone =
            Step > 0 ? ((x & 7) == 7 || i == width - 1) : ((x & 7) == 0 || i == width - 1);
        if (byteDone) {
            bits[x >> 3] = static_cast<std::uint8_t>(byte);
            byte = 0;
        }
    }
}

void ErrorDiffusionMethod(const Image24& in, Image1& out, int contrast, int brightness) {
    const LevelTable level = StretchTable(contrast, brightness);
    const LumaTables luma(level, level, level);
    const auto width = static_cast<std::size_t>(in.width);
    // Error rows as wide as the image.
    std::vector<int> current(width, 0), next(width, 0);
    std::vector<std::uint8_t> row(width);
    for (int y = 0; y < in.rows; ++y) {
        current.swap(next);
        RowLuma(in, y, luma, row.data());
        std::uint8_t* bits = out.bits + static_cast<std::size_t>(y) * out.stride;
        const bool lastRow = y == in.rows - 1;
        if (y % 2 == 1) {  // odd rows left to right; row 0 and every even row right to left
            DiffuseRow<1>(row.data(), in.width, current.data(), next.data(), lastRow, bits);
        } else {
            DiffuseRow<-1>(row.data(), in.width, current.data(), next.data(), lastRow, bits);
        }
    }
}

void Binarize(int method, const Image24& in, Image1& out, int contrast, int brightness) {
    switch (method) {
        case 0:
            ThresholdMethod(in, out, contrast, brightness);
            break;
        case 1:
            DitherM3Method(in, out, contrast, brightness);
            break;
        case 2:
            DitherM4Method(in, out, contrast, brightness);
            break;
        case 3:
            ErrorDiffusionMethod(in, out, contrast, brightness);
            break;
        default:
            break;  // unknown method: the array stays zero, an all-black picture
    }
}

}  // namespace melt
