#include "logos/row_image.h"

#include <cstdlib>
#include <fstream>

#include "logos/bitmap_reader.h"

namespace stampa {
namespace {

constexpr std::size_t kHeaderAndPalette = 62;

std::optional<RowImage> Fail(LogoFileError* error, LogoFileError why) {
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

std::optional<RowImage> RowImageFromBytes(const std::vector<std::uint8_t>& file,
                                          LogoFileError* error) {
    if (file.size() < kHeaderAndPalette) {
        return Fail(error, LogoFileError::NotMonochromeBmp);
    }
    const BitmapHeader header = ParseBitmapHeader(file.data());
    if (header.fileType != kBitmapFileType || header.bitCount != 1) {
        return Fail(error, LogoFileError::NotMonochromeBmp);
    }
    const std::int64_t width = header.width;
    const std::int64_t height = std::llabs(std::int64_t{header.height});
    if (width < 1 || height == 0 || width > kMaxRowImageWidth || height > kMaxRowImageHeight) {
        return Fail(error, LogoFileError::NoPixels);
    }
    RowImage image;
    image.width = static_cast<int>(width);
    image.height = static_cast<int>(height);
    image.rowBytes = static_cast<int>((width + 7) / 8);
    const std::size_t rowBytes = static_cast<std::size_t>(image.rowBytes);
    const std::size_t fileStride = static_cast<std::size_t>(((width + 31) / 32) * 4);
    const bool oneIsDark = OneBitsAreDark(file, header);
    const bool bottomUp = header.height > 0;
    const std::size_t offset = PixelOffset(file, header);
    const int tailBits = static_cast<int>(width % 8);
    const std::uint8_t tailMask =
        tailBits == 0 ? 0xFF : static_cast<std::uint8_t>(0xFF << (8 - tailBits));

    image.data.assign(rowBytes * static_cast<std::size_t>(height), 0);
    for (std::int64_t top = 0; top < height; ++top) {
        const std::int64_t fileRow = bottomUp ? height - 1 - top : top;
        const std::size_t from = offset + static_cast<std::size_t>(fileRow) * fileStride;
        std::uint8_t* row = &image.data[static_cast<std::size_t>(top) * rowBytes];
        for (std::size_t i = 0; i < rowBytes && from + i < file.size(); ++i) {
            // Bytes missing at the end of the file stay blank.
            row[i] = oneIsDark ? file[from + i] : static_cast<std::uint8_t>(~file[from + i]);
        }
        row[rowBytes - 1] &= tailMask;
    }
    if (error != nullptr) {
        *error = LogoFileError::None;
    }
    return image;
}

std::optional<RowImage> LoadRowImage(const std::string& path, LogoFileError* error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return Fail(error, LogoFileError::CannotOpen);
    }
    // The largest logo is 1024 x 2304 bytes of rows; a file is never read much past that.
    constexpr std::size_t kMaxRead = 4u << 20;
    std::vector<std::uint8_t> file(kMaxRead);
    in.read(reinterpret_cast<char*>(file.data()), static_cast<std::streamsize>(file.size()));
    file.resize(static_cast<std::size_t>(in.gcount()));
    return RowImageFromBytes(file, error);
}

}  // namespace stampa
