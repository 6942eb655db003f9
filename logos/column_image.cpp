#include "logos/column_image.h"

namespace stampa {

bool FitsFlashCommand(int stride, int bands) {
    return stride >= 1 && stride <= 1023 && bands >= 1 && bands <= 288;
}

bool FitsRamCommand(int stride, int bands) {
    return stride >= 1 && stride <= 255 && bands >= 1 && bands <= 255;
}

namespace {

// The picture in columns: blank fill dots make whole bands at the top and
// 32-dot widths at the right.
ColumnImage ColumnsOf(const RowImage& rows) {
    ColumnImage image;
    image.stride = StrideOf(rows.width);
    image.bands = BandsOf(rows.height);
    const int topFill = 8 * image.bands - rows.height;
    const std::size_t bands = static_cast<std::size_t>(image.bands);
    image.data.assign(static_cast<std::size_t>(image.stride) * 8 * bands, 0);
    for (int x = 0; x < rows.width; ++x) {
        for (int dotRow = topFill; dotRow < 8 * image.bands; ++dotRow) {
            if (rows.Dot(x, dotRow - topFill)) {
                image.data[static_cast<std::size_t>(x) * bands +
                           static_cast<std::size_t>(dotRow / 8)] |=
                    static_cast<std::uint8_t>(0x80 >> (dotRow % 8));
            }
        }
    }
    return image;
}

std::optional<ColumnImage> ColumnsOrRefusal(std::optional<RowImage> rows, ColumnImageError* error) {
    if (!rows) {
        return std::nullopt;
    }
    if (!FitsFlashCommand(StrideOf(rows->width), BandsOf(rows->height))) {
        if (error != nullptr) {
            *error = ColumnImageError::NoPixels;
        }
        return std::nullopt;
    }
    return ColumnsOf(*rows);
}

}  // namespace

std::optional<ColumnImage> ColumnImageFromBytes(const std::vector<std::uint8_t>& file,
                                                ColumnImageError* error) {
    return ColumnsOrRefusal(RowImageFromBytes(file, error), error);
}

std::optional<ColumnImage> LoadColumnImage(const std::string& path, ColumnImageError* error) {
    return ColumnsOrRefusal(LoadRowImage(path, error), error);
}

}  // namespace stampa
