#include "logos/fit_width.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <vector>

#include <fstream>
#include <iterator>

#include "logos/bitmap_reader.h"
#include "logos/rgb_picture.h"
#include "logos/row_image.h"

// The resampler of stb (Debian's libstb-dev), compiled here: only its
// functions, none of its state.
#define STB_IMAGE_RESIZE_STATIC
#define STB_IMAGE_RESIZE_IMPLEMENTATION
#include <stb/stb_image_resize.h>

namespace stampa {
namespace {

using Rgb = RgbPicture;

// A 1-bit logo as black and white pixels.
Rgb FromRows(const RowImage& rows) {
    Rgb picture{rows.width, rows.height, {}};
    picture.pixels.reserve(static_cast<std::size_t>(rows.width) * rows.height * 3);
    for (int y = 0; y < rows.height; ++y) {
        for (int x = 0; x < rows.width; ++x) {
            const unsigned char level = rows.Dot(x, y) ? 0 : 255;
            picture.pixels.insert(picture.pixels.end(), {level, level, level});
        }
    }
    return picture;
}

// A 24-bit BMP within the logo limits: rows of BGR, 4-byte aligned, bottom
// up unless the height is negative; missing bytes at the end are white.
std::optional<Rgb> ReadTrueColor(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    const std::vector<unsigned char> file((std::istreambuf_iterator<char>(in)),
                                          std::istreambuf_iterator<char>());
    if (file.size() < kBitmapHeaderBytes)
        return std::nullopt;
    const BitmapHeader h = ParseBitmapHeader(file.data());
    const std::int64_t height = h.height < 0 ? -std::int64_t{h.height} : h.height;
    if (h.fileType != kBitmapFileType || h.bitCount != 24 || h.width < 1 || height < 1 ||
        h.width > kMaxLogoWidth || height > kMaxLogoHeight)
        return std::nullopt;
    const std::size_t stride = (static_cast<std::size_t>(h.width) * 3 + 3) / 4 * 4;
    Rgb picture{h.width, static_cast<int>(height),
                std::vector<unsigned char>(static_cast<std::size_t>(h.width) * height * 3, 255)};
    for (std::int64_t y = 0; y < height; ++y) {
        const std::int64_t stored = h.height < 0 ? y : height - 1 - y;
        const std::size_t row = h.pixelOffset + static_cast<std::size_t>(stored) * stride;
        for (int x = 0; x < h.width; ++x) {
            const std::size_t at = row + static_cast<std::size_t>(x) * 3;
            if (at + 2 >= file.size())
                break;
            unsigned char* out = &picture.pixels[(static_cast<std::size_t>(y) * h.width + x) * 3];
            out[0] = file[at + 2];
            out[1] = file[at + 1];
            out[2] = file[at];
        }
    }
    return picture;
}

std::optional<Rgb> ReadPicture(const std::string& path) {
    if (auto rows = LoadRowImage(path))
        return FromRows(*rows);
    return ReadTrueColor(path);
}

std::string ScaledName(const std::string& path, int dots) {
    const std::filesystem::path original(path);
    return (original.parent_path() /
            (original.stem().string() + "-" + std::to_string(dots) + "dots.bmp"))
        .string();
}

}  // namespace

FitOutcome FitToWidth(const std::string& path, int dots) {
    FitOutcome outcome;
    const auto picture = ReadPicture(path);
    if (!picture || picture->width < 1 || picture->height < 1 || dots < 1)
        return outcome;
    if (picture->width <= dots) {
        outcome.result = FitResult::Fits;
        outcome.width = picture->width;
        outcome.height = picture->height;
        return outcome;
    }
    const int height =
        std::max(1, static_cast<int>(
                        std::lround(static_cast<double>(picture->height) * dots / picture->width)));
    std::vector<unsigned char> scaled(static_cast<std::size_t>(dots) * height * 3);
    // The area (box) filter averages every source pixel a target pixel covers.
    const int resized = stbir_resize_uint8_generic(
        picture->pixels.data(), picture->width, picture->height, 0, scaled.data(), dots, height, 0,
        3, STBIR_ALPHA_CHANNEL_NONE, 0, STBIR_EDGE_CLAMP, STBIR_FILTER_BOX, STBIR_COLORSPACE_LINEAR,
        nullptr);
    outcome.path = ScaledName(path, dots);
    if (!resized || !WriteTrueColorBmp(outcome.path, Rgb{dots, height, std::move(scaled)})) {
        outcome.result = FitResult::NotWritten;
        return outcome;
    }
    outcome.result = FitResult::Scaled;
    outcome.width = dots;
    outcome.height = height;
    return outcome;
}

}  // namespace stampa
