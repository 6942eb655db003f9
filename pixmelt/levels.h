// Contrast and brightness: the level adjustment of one colour channel.
//
// The arithmetic is double precision in a fixed order, truncating toward zero;
// its exact results (including the odd ones it gives for some contrasts) are
// part of the output, so keep the order of operations as it is.
#pragma once

#include <array>
#include <cstdint>

namespace melt {

using LevelTable = std::array<std::uint8_t, 256>;

// Used by the threshold, "Dither M3" and error-diffusion methods: contrast
// stretches (k > 0) or squeezes (k < 0) the range 0..255, brightness shifts it.
int StretchLevel(int value, int contrast, int brightness);

// Used by "Dither M4": contrast scales the distance from the channel's mean.
int ScaleAroundMean(int value, int contrast, int brightness, int mean);

// The adjustments depend only on the channel value within one call, so they
// are worked out once per call for all 256 values.
LevelTable StretchTable(int contrast, int brightness);
LevelTable ScaleAroundMeanTable(int contrast, int brightness, int mean);

}  // namespace melt
