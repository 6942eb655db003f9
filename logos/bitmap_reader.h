// Acceptance checks for BMP files: a look at the first 54 bytes decides whether
// a file is a logo the printer can take (1-bit or 24-bit, at most 8184 x 2304).
#pragma once

#include <cstdint>
#include <string>

namespace stampa {

inline constexpr std::int32_t kMaxLogoWidth = 8184;   // 1023 bytes of 8 dots
inline constexpr std::int32_t kMaxLogoHeight = 2304;  // 288 bytes of 8 dots

// The fields of the 54 header bytes that the checks look at.
struct BitmapHeader {
    std::uint16_t fileType = 0;  // 0x4D42, "BM"
    std::int32_t width = 0;
    std::int32_t height = 0;  // negative: rows stored top-down
    std::uint16_t bitCount = 0;
};

// Size of a logo as a 1-bit picture with rows padded to 32 dots:
// 4 x ((width + 31) / 32) x |height|. Degenerate sizes (width < 1) give 0;
// the result never wraps.
std::uint32_t OneBitImageSize(std::int32_t width, std::int32_t height);

// 1 when the file is a 1-bit BMP within the limits, else 0. Shows
// "打开位图失败!" when the file cannot be opened or is shorter than 54 bytes and
// "图像太大，打开失败!" when it is a 1-bit BMP over the limits; a file of another
// kind is refused silently, so the caller can try the other check.
int IsMonoBitmap(const std::string& path);

// The same for 24-bit BMPs.
int IsTrueColorBitmap(const std::string& path);

// Reads width and height of entry `position` of SelectedLogos from its file and
// sets the entry's size, width and height. Silent; a negative position or a
// file that cannot be opened leaves the entry as it was.
void ReadBitmapGeometry(int position);

}  // namespace stampa
