#include "vprinter/raster_logo.h"

#include <bit>

namespace vprinter {

std::size_t RasterLogo::DotCount() const {
    std::size_t n = 0;
    for (std::uint8_t b : data)
        n += static_cast<std::size_t>(std::popcount(b));
    return n;
}

RasterLogo NvGraphic::ToLogo() const {
    RasterLogo logo;
    logo.xBytes = static_cast<int>(RowBytes());
    logo.yBands = (height + 7) / 8;
    logo.width = width;
    logo.height = height;
    const std::size_t bands = static_cast<std::size_t>(logo.yBands);
    logo.data.assign(static_cast<std::size_t>(logo.xBytes) * 8 * bands, 0);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const std::uint8_t byte =
                rows[static_cast<std::size_t>(y) * RowBytes() + static_cast<std::size_t>(x / 8)];
            if ((byte >> (7 - x % 8)) & 1) {
                logo.data[static_cast<std::size_t>(x) * bands + static_cast<std::size_t>(y / 8)] |=
                    static_cast<std::uint8_t>(0x80 >> (y % 8));
            }
        }
    }
    return logo;
}

}  // namespace vprinter
