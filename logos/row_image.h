// A 1-bit BMP file read as the dots a logo prints: rows from the top, as NV
// graphics are defined, and the source of the column raster FLASH and RAM
// logos are sent in. Which dots are dark is decided here once for every memory.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace stampa {

struct RowImage {
    int width = 0;     // dots across
    int height = 0;    // dots down
    int rowBytes = 0;  // ceil(width / 8)
    // rowBytes x height bytes, the top row first; the leftmost dot in the most
    // significant bit; a set bit is a dark dot; bits past the width are 0.
    std::vector<std::uint8_t> data;

    bool Dot(int x, int y) const {
        const std::size_t byte = static_cast<std::size_t>(y) * static_cast<std::size_t>(rowBytes) +
                                 static_cast<std::size_t>(x / 8);
        return (data[byte] >> (7 - x % 8)) & 1;
    }
};

// Why a file could not become a logo image.
enum class LogoFileError {
    None,
    CannotOpen,
    NotMonochromeBmp,  // not "BM", or not 1 bit per pixel
    NoPixels,          // width below 1 or height 0, or larger than any command carries
};

// The largest picture any logo command carries (NV graphics: 8192 x 2304).
inline constexpr int kMaxRowImageWidth = 8192;
inline constexpr int kMaxRowImageHeight = 2304;

// Reads a 1-bit BMP file: its header, palette and rows.
//  - Rows are read from the pixel offset when it lies inside the file at or
//    after the 62 header and palette bytes, else from byte 62; the file's
//    4-byte-aligned rows x |H| whatever the image-size field says; bytes
//    missing at the end of the file are blank.
//  - A dot is a dark pixel: with the usual palette a 0 bit, and a 1 bit when
//    palette entry 0 is the lighter colour.
//  - A top-down file (negative height) comes out upright like a bottom-up one.
std::optional<RowImage> RowImageFromBytes(const std::vector<std::uint8_t>& file,
                                          LogoFileError* error = nullptr);
std::optional<RowImage> LoadRowImage(const std::string& path, LogoFileError* error = nullptr);

}  // namespace stampa
