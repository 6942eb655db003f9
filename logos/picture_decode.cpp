#include "logos/picture_decode.h"

#include "logos/jpeg_decode.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <memory>

// stb_image (Debian's libstb-dev), compiled here for PNG, GIF and BMP only
// and without file access of its own: the same decoder in the Linux and the
// Windows build, given bytes already checked whole. JPEG goes to libjpeg-turbo
// (logos/jpeg_decode.h): stb_image 2.27's JPEG reader is not safe on hostile
// files.
#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#define STBI_ONLY_GIF
#define STBI_ONLY_BMP
#define STBI_NO_STDIO
#define STBI_NO_LINEAR
#define STBI_NO_HDR
#define STBI_NO_FAILURE_STRINGS  // its message buffer is one for the process
#define STBI_MAX_DIMENSIONS (1 << 16)
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wsign-compare"
#pragma GCC diagnostic ignored "-Wconversion"
#endif
#include <stb/stb_image.h>
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

namespace stampa {
namespace {

std::uint32_t BigEndian32(const unsigned char* p) {
    return std::uint32_t{p[0]} << 24 | std::uint32_t{p[1]} << 16 | std::uint32_t{p[2]} << 8 | p[3];
}

// PNG's CRC-32 (ISO 3309), as the file format fixes it.
std::uint32_t Crc32(const unsigned char* data, std::size_t size) {
    static constexpr auto table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k)
                c = c & 1 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    std::uint32_t c = 0xFFFFFFFFu;
    for (std::size_t i = 0; i < size; ++i)
        c = table[(c ^ data[i]) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

// JPEG: the end marker after the start of the scan (the coded data stuffs
// every 0xFF, so FF D9 there is the marker).
bool JpegEnds(const std::vector<unsigned char>& b) {
    for (std::size_t i = 2; i + 1 < b.size(); ++i) {
        if (b[i] == 0xFF && b[i + 1] == 0xDA) {
            for (std::size_t j = i + 2; j + 1 < b.size(); ++j)
                if (b[j] == 0xFF && b[j + 1] == 0xD9)
                    return true;
            return false;
        }
    }
    return false;
}

// An uncompressed BMP holds every row its header claims.
bool BmpRowsPresent(const std::vector<unsigned char>& b, int width, int height) {
    if (b.size() < 54)
        return false;
    const unsigned bits = b[28] | b[29] << 8;
    const std::uint32_t offset = b[10] | b[11] << 8 | b[12] << 16 | std::uint32_t{b[13]} << 24;
    const std::uint64_t stride = (std::uint64_t(width) * bits + 31) / 32 * 4;
    return offset + stride * std::uint64_t(height) <= b.size();
}

bool Intact(PictureFormat format, const std::vector<unsigned char>& b, int width, int height) {
    switch (format) {
        case PictureFormat::Png:
            return PngChunksIntact(b);
        case PictureFormat::Jpeg:
            return JpegEnds(b);
        case PictureFormat::Gif:
            return b.back() == 0x3B;  // the trailer
        case PictureFormat::Bmp:
            return BmpRowsPresent(b, width, height);
        default:
            return false;
    }
}

// RGBA onto white paper.
RgbPicture OnWhite(const unsigned char* rgba, int width, int height) {
    RgbPicture out{width, height, {}};
    out.pixels.resize(std::size_t(width) * std::size_t(height) * 3);
    for (std::size_t i = 0; i < std::size_t(width) * std::size_t(height); ++i) {
        const unsigned alpha = rgba[i * 4 + 3];
        for (int c = 0; c < 3; ++c)
            out.pixels[i * 3 + c] = static_cast<unsigned char>(
                (rgba[i * 4 + c] * alpha + 255 * (255 - alpha) + 127) / 255);
    }
    return out;
}

bool WithinLogo(const PictureLimits& limits, int width, int height) {
    return width <= limits.maxWidth && height <= limits.maxHeight;
}

DecodedPicture DecodeRle(const std::vector<unsigned char>& bytes, const PictureLimits& limits,
                         DecodedPicture d) {
    RleBmp rle = DecodeRleBmp(bytes, limits);
    if (!rle.intact) {
        d.error = PictureError::Corrupt;
        return d;
    }
    d.picture = std::move(rle.picture);
    return d;
}

}  // namespace

PictureFormat SniffPictureFormat(const unsigned char* b, std::size_t size) {
    if (size >= 8 && std::memcmp(b, "\x89PNG\r\n\x1A\n", 8) == 0)
        return PictureFormat::Png;
    if (size >= 3 && b[0] == 0xFF && b[1] == 0xD8 && b[2] == 0xFF)
        return PictureFormat::Jpeg;
    if (size >= 6 && (std::memcmp(b, "GIF87a", 6) == 0 || std::memcmp(b, "GIF89a", 6) == 0))
        return PictureFormat::Gif;
    if (size >= 2 && b[0] == 'B' && b[1] == 'M')
        return PictureFormat::Bmp;
    return PictureFormat::Unknown;
}

bool PngChunksIntact(const std::vector<unsigned char>& png) {
    std::size_t at = 8;
    while (at + 12 <= png.size()) {
        const std::uint32_t length = BigEndian32(&png[at]);
        if (length > png.size() - at - 12)
            return false;
        const std::uint32_t crc = BigEndian32(&png[at + 8 + length]);
        if (Crc32(&png[at + 4], 4 + std::size_t{length}) != crc)
            return false;
        if (std::memcmp(&png[at + 4], "IEND", 4) == 0)
            return true;
        at += 12 + std::size_t{length};
    }
    return false;
}

DecodedPicture DecodePicture(const std::vector<unsigned char>& bytes, const PictureLimits& limits) {
    DecodedPicture d;
    d.format = SniffPictureFormat(bytes.data(), bytes.size());
    if (d.format == PictureFormat::Unknown || bytes.size() > static_cast<std::size_t>(INT32_MAX)) {
        d.error = PictureError::NotAPicture;
        return d;
    }
    const int size = static_cast<int>(bytes.size());
    int width = 0, height = 0, channels = 0;
    const bool rle = d.format == PictureFormat::Bmp && bytes.size() >= 54 &&
                     (bytes[30] == 1 || bytes[30] == 2) && !bytes[31] && !bytes[32] && !bytes[33];
    if (rle) {
        width = static_cast<std::int32_t>(bytes[18] | bytes[19] << 8 | bytes[20] << 16 |
                                          std::uint32_t{bytes[21]} << 24);
        height = static_cast<std::int32_t>(bytes[22] | bytes[23] << 8 | bytes[24] << 16 |
                                           std::uint32_t{bytes[25]} << 24);
    } else if (d.format == PictureFormat::Jpeg) {
        if (!JpegSupported()) {
            d.error = PictureError::Unsupported;
            return d;
        }
        const auto stored = JpegHeaderSize(bytes);
        if (!stored) {
            d.error = PictureError::Corrupt;
            return d;
        }
        width = stored->width;
        height = stored->height;
    } else if (!stbi_info_from_memory(bytes.data(), size, &width, &height, &channels)) {
        d.error = PictureError::Corrupt;
        return d;
    }
    const int orientation = d.format == PictureFormat::Jpeg ? JpegOrientation(bytes) : 1;
    const bool turned = orientation >= 5;
    d.claimedWidth = turned ? height : width;
    d.claimedHeight = turned ? width : height;
    if (width < 1 || height < 1) {
        d.error = PictureError::Corrupt;
        return d;
    }
    if (static_cast<long long>(width) * height > limits.maxPixels) {
        d.error = PictureError::TooManyPixels;
        return d;
    }
    if (!WithinLogo(limits, d.claimedWidth, d.claimedHeight)) {
        d.error = PictureError::TooLargeForALogo;
        return d;
    }
    if (rle)
        return DecodeRle(bytes, limits, std::move(d));
    if (!Intact(d.format, bytes, width, height)) {
        d.error = PictureError::Corrupt;
        return d;
    }
    if (d.format == PictureFormat::Jpeg) {
        auto stored = DecodeJpeg(bytes);
        if (!stored) {
            d.error = PictureError::Corrupt;
            return d;
        }
        d.picture = Oriented(*stored, orientation);
        return d;
    }
    int w = 0, h = 0;
    const std::unique_ptr<unsigned char, void (*)(void*)> rgba(
        stbi_load_from_memory(bytes.data(), size, &w, &h, &channels, 4), stbi_image_free);
    if (!rgba || w != width || h != height) {
        d.error = PictureError::Corrupt;
        return d;
    }
    d.picture = Oriented(OnWhite(rgba.get(), w, h), orientation);
    return d;
}

}  // namespace stampa
