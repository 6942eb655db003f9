#include "transfer/column_image.h"

#include <cstdlib>
#include <fstream>

#include "logos/bitmap_reader.h"

namespace stampa {
namespace {

constexpr std::size_t kHeaderAndPalette = 62;

std::optional<ColumnImage> Fail(ColumnImageError* error, ColumnImageError why) {
    if (error != nullptr) {
        *error = why;
    }
    return std::nullopt;
}

int Luma(const std::uint8_t* bgr) {
    return 114 * bgr[0] + 587 * bgr[1] + 299 * bgr[2];
}

// True when a 1 bit is the dark colour: palette entry 0 is the lighter one.
bool OneBitsAreDark(const std::vector<std::uint8_t>& file, const BitmapHeader& header) {
    std::size_t palette = 14 + std::size_t{header.infoSize};
    if (palette < 54 || palette + 8 > file.size()) {
        palette = 54;
    }
    return Luma(&file[palette]) > Luma(&file[palette + 4]);
}

std::size_t PixelOffset(const std::vector<std::uint8_t>& file, const BitmapHeader& header) {
    const std::uint32_t offset = header.pixelOffset;
    return (offset >= kHeaderAndPalette && offset < file.size()) ? offset : kHeaderAndPalette;
}

}  // namespace

bool FitsFlashCommand(int stride, int bands) {
    return stride >= 1 && stride <= 1023 && bands >= 1 && bands <= 288;
}

bool FitsRamCommand(int stride, int bands) {
    return stride >= 1 && stride <= 255 && bands >= 1 && bands <= 255;
}

std::optional<ColumnImage> ColumnImageFromBytes(const std::vector<std::uint8_t>& file,
                                                ColumnImageError* error) {
    if (file.size() < kHeaderAndPalette) {
        return Fail(error, ColumnImageError::NotMonochromeBmp);
    }
    const BitmapHeader header = ParseBitmapHeader(file.data());
    if (header.fileType != kBitmapFileType || header.bitCount != 1) {
        return Fail(error, ColumnImageError::NotMonochromeBmp);
    }
    const std::int64_t width = header.width;
    const std::int32_t rawHeight = header.height;
    const std::int64_t height = std::llabs(std::int64_t{rawHeight});
    // Past the largest logo a command can carry there is nothing to build.
    if (width < 1 || height == 0 || width > 1023 * 8 || height > 288 * 8) {
        return Fail(error, ColumnImageError::NoPixels);
    }
    ColumnImage image;
    image.stride = StrideOf(width);
    image.bands = BandsOf(height);
    const std::size_t stride = static_cast<std::size_t>(image.stride);
    const int rasterRows = 8 * image.bands;
    const bool oneIsDark = OneBitsAreDark(file, header);
    const std::size_t offset = PixelOffset(file, header);
    const std::size_t rowBytes = static_cast<std::size_t>((width + 7) / 8);
    const int tailBits = static_cast<int>(width % 8);
    const std::uint8_t tailMask =
        tailBits == 0 ? 0xFF : static_cast<std::uint8_t>(0xFF << (8 - tailBits));

    // The raster bottom row first, as a bottom-up file stores it: raster row r
    // is picture row (height - 1 - r) from the top. Rows past the picture stay blank.
    std::vector<std::uint8_t> raster(stride * static_cast<std::size_t>(rasterRows), 0);
    for (std::int64_t r = 0; r < height; ++r) {
        const std::int64_t fileRow = rawHeight > 0 ? r : height - 1 - r;
        const std::size_t from = offset + static_cast<std::size_t>(fileRow) * stride;
        std::uint8_t* row = &raster[static_cast<std::size_t>(r) * stride];
        for (std::size_t i = 0; i < rowBytes; ++i) {
            if (from + i >= file.size()) {
                break;  // missing at the end of the file: blank
            }
            row[i] = oneIsDark ? file[from + i] : static_cast<std::uint8_t>(~file[from + i]);
        }
        row[rowBytes - 1] &= tailMask;
    }

    image.data.assign(stride * static_cast<std::size_t>(image.bands) * 8, 0);
    for (int x = 0; x < image.stride * 8; ++x) {
        const std::uint8_t bit = static_cast<std::uint8_t>(0x80 >> (x % 8));
        for (int b = 0; b < image.bands; ++b) {
            std::uint8_t out = 0;
            for (int j = 0; j < 8; ++j) {
                const int r = rasterRows - 1 - 8 * b - j;
                if (raster[static_cast<std::size_t>(r) * stride + static_cast<std::size_t>(x / 8)] &
                    bit) {
                    out |= static_cast<std::uint8_t>(0x80 >> j);
                }
            }
            image.data[static_cast<std::size_t>(x) * static_cast<std::size_t>(image.bands) +
                       static_cast<std::size_t>(b)] = out;
        }
    }
    if (error != nullptr) {
        *error = ColumnImageError::None;
    }
    return image;
}

std::optional<ColumnImage> LoadColumnImage(const std::string& path, ColumnImageError* error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return Fail(error, ColumnImageError::CannotOpen);
    }
    // The largest logo the commands carry is 1024 x 2304 bytes of rows; a file
    // is never read much past that.
    constexpr std::size_t kMaxRead = 4u << 20;
    std::vector<std::uint8_t> file(kMaxRead);
    in.read(reinterpret_cast<char*>(file.data()), static_cast<std::streamsize>(file.size()));
    file.resize(static_cast<std::size_t>(in.gcount()));
    return ColumnImageFromBytes(file, error);
}

}  // namespace stampa
