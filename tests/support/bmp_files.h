// Builds BMP files for tests, byte by byte, so every header field is under the
// test's control. Pictures are described top row first (y = 0 is the top);
// the builder stores the rows bottom-up for a positive height and top-down for
// a negative one, as BMP files do.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <functional>
#include <vector>

#include "common/bytes.h"

namespace stampa::test {

struct Rgb {
    unsigned char r = 0, g = 0, b = 0;
    bool operator==(const Rgb&) const = default;
};

// The 54 header bytes: file header and 40-byte info header.
inline std::vector<unsigned char> BmpHeader(std::int32_t width, std::int32_t height,
                                            std::uint16_t bitCount, std::uint32_t compression = 0,
                                            std::uint32_t offBits = 54, std::uint32_t imageSize = 0,
                                            std::uint32_t fileSize = 0) {
    std::vector<unsigned char> h(54, 0);
    h[0] = 'B';
    h[1] = 'M';
    WriteU32(&h[2], fileSize);
    WriteU32(&h[10], offBits);
    WriteU32(&h[14], 40);
    WriteI32(&h[18], width);
    WriteI32(&h[22], height);
    WriteU16(&h[26], 1);
    WriteU16(&h[28], bitCount);
    WriteU32(&h[30], compression);
    WriteU32(&h[34], imageSize);
    return h;
}

// Order of the stored rows: file row r holds picture row FileRowToY(r).
inline int FileRowToY(int fileRow, std::int32_t height) {
    return height > 0 ? height - 1 - fileRow : fileRow;
}

// A 24-bit BMP; pixel(x, y) gives the colour of column x of picture row y.
inline std::vector<unsigned char> Bmp24(std::int32_t width, std::int32_t height,
                                        const std::function<Rgb(int, int)>& pixel) {
    const int rows = std::abs(height);
    const std::uint32_t stride = ((24u * width + 31u) / 32u) * 4u;
    const std::uint32_t imageSize = stride * rows;
    std::vector<unsigned char> file =
        BmpHeader(width, height, 24, 0, 54, imageSize, 54 + imageSize);
    for (int r = 0; r < rows; ++r) {
        std::vector<unsigned char> row(stride, 0);
        for (int x = 0; x < width; ++x) {
            const Rgb c = pixel(x, FileRowToY(r, height));
            row[3 * x] = c.b;
            row[3 * x + 1] = c.g;
            row[3 * x + 2] = c.r;
        }
        file.insert(file.end(), row.begin(), row.end());
    }
    return file;
}

// A 1-bit BMP with the usual palette (entry 0 black, entry 1 white), or the
// swapped one when darkIsOne; black(x, y) tells which dots are dark.
inline std::vector<unsigned char> Bmp1(std::int32_t width, std::int32_t height,
                                       const std::function<bool(int, int)>& black,
                                       bool darkIsOne = false) {
    const int rows = std::abs(height);
    const std::uint32_t stride = ((static_cast<std::uint32_t>(width) + 31u) / 32u) * 4u;
    const std::uint32_t imageSize = stride * rows;
    std::vector<unsigned char> file = BmpHeader(width, height, 1, 0, 62, imageSize, 62 + imageSize);
    const unsigned char darkEntry[4] = {0, 0, 0, 0};
    const unsigned char lightEntry[4] = {0xFF, 0xFF, 0xFF, 0};
    const unsigned char* first = darkIsOne ? lightEntry : darkEntry;
    const unsigned char* second = darkIsOne ? darkEntry : lightEntry;
    file.insert(file.end(), first, first + 4);
    file.insert(file.end(), second, second + 4);
    for (int r = 0; r < rows; ++r) {
        std::vector<unsigned char> row(stride, 0);
        for (int x = 0; x < width; ++x) {
            const bool bitSet = black(x, FileRowToY(r, height)) == darkIsOne;
            if (bitSet) {
                row[x / 8] |= static_cast<unsigned char>(0x80 >> (x % 8));
            }
        }
        file.insert(file.end(), row.begin(), row.end());
    }
    return file;
}

}  // namespace stampa::test
