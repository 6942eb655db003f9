// A logo as the printer stores it: x bytes across (8 x dots), y bands of 8 dots
// down, kept column by column: column c holds y bytes, the top band first, the
// uppermost dot in the most significant bit; a set bit prints a dot.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace vprinter {

struct RasterLogo {
    int xBytes = 0;
    int yBands = 0;
    std::vector<std::uint8_t> data;  // xBytes * yBands * 8 bytes
    // The dots a logo of another size takes (NV graphics); 0: whole bytes and bands.
    int width = 0;
    int height = 0;

    int WidthDots() const { return width > 0 ? width : xBytes * 8; }
    int HeightDots() const { return height > 0 ? height : yBands * 8; }
    bool Dot(int x, int y) const {
        const std::size_t byte = static_cast<std::size_t>(x) * yBands + y / 8;
        return (data[byte] >> (7 - y % 8)) & 1;
    }
    std::size_t DotCount() const;
};

// An NV graphic as defined: rows from the top, ceil(width / 8) bytes a row,
// the leftmost dot in the most significant bit; a set bit prints a dot.
struct NvGraphic {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rows;

    std::size_t RowBytes() const { return static_cast<std::size_t>((width + 7) / 8); }
    RasterLogo ToLogo() const;  // the same dots, as the printer prints them
};

// NV graphics by key code ("01", "A1", ...).
using NvGraphics = std::map<std::string, NvGraphic>;

}  // namespace vprinter
