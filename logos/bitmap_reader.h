// Acceptance checks for BMP files: a look at the first 54 bytes decides whether
// a file is a logo the printer can take (1-bit or 24-bit, at most 8184 x 2304).
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "common/operator.h"
#include "logos/logo_list.h"

namespace stampa {

inline constexpr std::int32_t kMaxLogoWidth = 8184;   // 1023 bytes of 8 dots
inline constexpr std::int32_t kMaxLogoHeight = 2304;  // 288 bytes of 8 dots

inline constexpr std::size_t kBitmapHeaderBytes = 54;
inline constexpr std::uint16_t kBitmapFileType = 0x4D42;  // "BM"

// The fields of the 54 header bytes that the program looks at.
struct BitmapHeader {
    std::uint16_t fileType = 0;     // 0x4D42, "BM"
    std::uint32_t pixelOffset = 0;  // bfOffBits: where the rows start
    std::uint32_t infoSize = 0;     // biSize: the palette follows 14 + infoSize
    std::int32_t width = 0;
    std::int32_t height = 0;  // negative: rows stored top-down
    std::uint16_t bitCount = 0;
};

// The fields of `bytes`, which hold at least kBitmapHeaderBytes bytes.
BitmapHeader ParseBitmapHeader(const unsigned char* bytes);

// The header of a file; nothing when it cannot be opened or is shorter than
// the 54 header bytes. Silent.
std::optional<BitmapHeader> ReadBitmapHeader(const std::string& path);

// The size of a picture the preview can show: "BM" with 1, 4, 8, 24 or 32 bits
// and pixels, capped at 8184 x 2304. Nothing for any other file; the header
// is checked here because Qt's reader takes broken files without a word.
struct PictureSize {
    int width = 0;
    int height = 0;
};
std::optional<PictureSize> ShowablePictureSize(const std::string& path);

// Size of a logo as a 1-bit picture with rows padded to 32 dots:
// 4 x ((width + 31) / 32) x |height|. Degenerate sizes (width < 1) give 0;
// the result never wraps.
std::uint32_t OneBitImageSize(std::int32_t width, std::int32_t height);

// 1 when the file is a 1-bit BMP within the limits, else 0. Shows
// "打开位图失败!" when the file cannot be opened or is shorter than 54 bytes and
// "图像太大，打开失败!" when it is a 1-bit BMP over the limits; a file of another
// kind is refused silently, so the caller can try the other check.
// The messages go to `channel` (the session's operator; an empty channel: the
// process's).
int IsMonoBitmap(const std::string& path, const OperatorChannel& channel = {});

// The same for 24-bit BMPs.
int IsTrueColorBitmap(const std::string& path, const OperatorChannel& channel = {});

// Reads width and height of entry `position` of `list` (the picked logos) from
// its file and sets the entry's size, width and height. Silent; a negative
// position or a file that cannot be opened leaves the entry as it was.
void ReadBitmapGeometry(CLogoList& list, int position);

}  // namespace stampa
