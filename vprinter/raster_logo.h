// A logo as the printer stores it: x bytes across (8 x dots), y bands of 8 dots
// down, kept column by column: column c holds y bytes, the top band first, the
// uppermost dot in the most significant bit; a set bit prints a dot.
#pragma once

#include <cstdint>
#include <vector>

namespace vprinter {

struct RasterLogo {
    int xBytes = 0;
    int yBands = 0;
    std::vector<std::uint8_t> data;  // xBytes * yBands * 8 bytes

    int WidthDots() const { return xBytes * 8; }
    int HeightDots() const { return yBands * 8; }
    bool Dot(int x, int y) const {
        const std::size_t byte = static_cast<std::size_t>(x) * yBands + y / 8;
        return (data[byte] >> (7 - y % 8)) & 1;
    }
    std::size_t DotCount() const;
};

}  // namespace vprinter
