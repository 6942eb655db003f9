#include "pixmelt/levels.h"

#include <cmath>

namespace melt {
namespace {

constexpr double kOneOver255 = 0.00392156862745098;  // the double nearest to 1/255

// Truncates toward zero without leaving the range of int64 (contrast values far
// outside -100..100 give huge intermediates; the clamp below takes care of them).
std::int64_t Truncate(double v) {
    constexpr double kLimit = 1e15;
    if (!(v < kLimit)) {
        return static_cast<std::int64_t>(kLimit);
    }
    if (!(v > -kLimit)) {
        return static_cast<std::int64_t>(-kLimit);
    }
    return static_cast<std::int64_t>(v);
}

int AddAndClamp(std::int64_t level, int brightness) {
    const std::int64_t v = level + brightness;
    return v > 255 ? 255 : (v < 0 ? 0 : static_cast<int>(v));
}

}  // namespace

int StretchLevel(int value, int contrast, int brightness) {
    const std::int64_t k = contrast;
    std::int64_t v;
    if (k < 0) {
        const double t = 255.0 / static_cast<double>(2 * k + 255);
        v = Truncate(value / t - static_cast<double>(k));
    } else if (value <= k) {
        v = 0;
    } else if (value >= 255 - k) {
        v = 255;
    } else {
        const double d = static_cast<double>(255 - 2 * k) * kOneOver255;
        v = Truncate(static_cast<double>(value - k) / d);
    }
    return AddAndClamp(v, brightness);
}

int ScaleAroundMean(int value, int contrast, int brightness, int mean) {
    const double f = contrast >= 0 ? 1.0 + contrast * 0.1
                                   : 1.0 - std::sqrt(-static_cast<double>(contrast)) * 0.1;
    // Truncation happens before the brightness is added.
    const double scaled = static_cast<double>(value - mean) * f + mean;
    return AddAndClamp(Truncate(scaled), brightness);
}

LevelTable StretchTable(int contrast, int brightness) {
    LevelTable table{};
    for (int p = 0; p < 256; ++p) {
        table[p] = static_cast<std::uint8_t>(StretchLevel(p, contrast, brightness));
    }
    return table;
}

LevelTable ScaleAroundMeanTable(int contrast, int brightness, int mean) {
    LevelTable table{};
    for (int p = 0; p < 256; ++p) {
        table[p] = static_cast<std::uint8_t>(ScaleAroundMean(p, contrast, brightness, mean));
    }
    return table;
}

}  // namespace melt
