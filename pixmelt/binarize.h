// The four binarization methods, from the 24-bit pixel array to the 1-bit one.
//
// Rows are counted in file order (row 0 is the first row of the file). In the
// 1-bit array a set bit is white; every method only sets bits in an array the
// caller has zeroed, so a pixel left alone is black.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace melt {

struct Image24 {
    const std::uint8_t* pixels;  // rows of stride24 bytes, blue green red per pixel
    int width;
    int rows;
    std::size_t stride24;
};

struct Image1 {
    std::uint8_t* bits;  // rows of `stride` bytes, leftmost pixel in the top bit
    std::size_t stride;
};

struct ChannelMeanValues {
    int red = 0, green = 0, blue = 0;
};

using Bayer8Matrix = std::array<std::array<std::uint8_t, 8>, 8>;
using Bayer16Matrix = std::array<std::array<std::uint8_t, 16>, 16>;

extern const Bayer8Matrix Bayer8;
extern const Bayer16Matrix Bayer16;

// Integer luminance of an adjusted pixel, 0..255.
inline int Luma(int red, int green, int blue) {
    return (299 * red + 587 * green + 114 * blue) / 1000;
}

// The threshold of method 0: the luminance of the mean adjusted channels.
int MeanLuma(const Image24& image, int contrast, int brightness);

// The mean of each channel's unadjusted values: the pivots of method 2.
ChannelMeanValues ChannelMeans(const Image24& image);

void ThresholdMethod(const Image24& in, Image1& out, int contrast, int brightness);
void DitherM3Method(const Image24& in, Image1& out, int contrast, int brightness);
void DitherM4Method(const Image24& in, Image1& out, int contrast, int brightness);
void ErrorDiffusionMethod(const Image24& in, Image1& out, int contrast, int brightness);

// Runs the method; a value outside 0..3 leaves the array as it is (all black).
void Binarize(int method, const Image24& in, Image1& out, int contrast, int brightness);

}  // namespace melt
