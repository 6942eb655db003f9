#include "vprinter/raster_logo.h"

#include <bit>

namespace vprinter {

std::size_t RasterLogo::DotCount() const {
    std::size_t n = 0;
    for (std::uint8_t b : data)
        n += static_cast<std::size_t>(std::popcount(b));
    return n;
}

}  // namespace vprinter
