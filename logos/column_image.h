// A 1-bit BMP file turned into the printer's column raster: the data of both
// logo download commands (FS q records and GS *).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "logos/row_image.h"

namespace stampa {

struct ColumnImage {
    int stride = 0;  // bytes of a stored row: the x of both commands (8 x stride dots across)
    int bands = 0;   // bands of 8 dots: the y of both commands
    // stride x bands x 8 bytes, column by column from the left; a column is
    // `bands` bytes, the top band first, the uppermost dot in the top bit; a set
    // bit prints a dot. Fill dots (to whole bands, to 32-dot widths) are blank
    // and lie at the top and at the right.
    std::vector<std::uint8_t> data;
};

// Why a file could not become a ColumnImage.
using ColumnImageError = LogoFileError;

// Reads a 1-bit BMP file as LoadRowImage does (the same dots), and refuses as
// NoPixels a picture wider than 8184 dots, the most the FLASH command carries.
std::optional<ColumnImage> LoadColumnImage(const std::string& path,
                                           ColumnImageError* error = nullptr);

// The same from the file's bytes.
std::optional<ColumnImage> ColumnImageFromBytes(const std::vector<std::uint8_t>& file,
                                                ColumnImageError* error = nullptr);

// Whether a logo of this size fits the download commands: FLASH takes x up to
// 1023 and y up to 288; RAM takes one byte each (255).
bool FitsFlashCommand(int stride, int bands);
bool FitsRamCommand(int stride, int bands);
inline int StrideOf(std::int64_t width) {
    return static_cast<int>(((width + 31) / 32) * 4);
}
inline int BandsOf(std::int64_t height) {
    return static_cast<int>((height + 7) / 8);
}

}  // namespace stampa
