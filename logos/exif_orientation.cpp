// A JPEG's EXIF orientation, and turning the stored pixels upright. Cameras
// store the sensor's rows and say in tag 0x0112 how to show them.
#include <cstdint>
#include <string_view>

#include "logos/picture_decode.h"

namespace stampa {
namespace {

// TIFF's numbers, in the byte order its header names ("II" little, "MM" big).
struct Tiff {
    const unsigned char* base;
    std::size_t size;
    bool little;
    bool Has(std::size_t at, std::size_t n) const { return at <= size && n <= size - at; }
    unsigned U16(std::size_t at) const {
        return little ? base[at] | base[at + 1] << 8 : base[at] << 8 | base[at + 1];
    }
    std::uint32_t U32(std::size_t at) const {
        return little ? U16(at) | std::uint32_t{U16(at + 2)} << 16
                      : std::uint32_t{U16(at)} << 16 | U16(at + 2);
    }
};

// The orientation in an APP1 segment's "Exif\0\0" payload; 1 when absent.
int OrientationInExif(const unsigned char* exif, std::size_t size) {
    if (size < 14 ||
        std::string_view(reinterpret_cast<const char*>(exif), 6) != std::string_view("Exif\0\0", 6))
        return 1;
    const Tiff t{exif + 6, size - 6, exif[6] == 'I'};
    if (!t.Has(0, 8) || (exif[6] != 'I' && exif[6] != 'M') || t.U16(2) != 42)
        return 1;
    const std::uint32_t ifd = t.U32(4);
    if (!t.Has(ifd, 2))
        return 1;
    const unsigned entries = t.U16(ifd);
    for (unsigned i = 0; i < entries; ++i) {
        const std::size_t at = ifd + 2 + std::size_t{i} * 12;
        if (!t.Has(at, 12))
            return 1;
        if (t.U16(at) == 0x0112) {
            const unsigned value = t.U16(at + 8);
            return value >= 1 && value <= 8 ? static_cast<int>(value) : 1;
        }
    }
    return 1;
}

}  // namespace

int JpegOrientation(const std::vector<unsigned char>& jpeg) {
    std::size_t at = 2;  // after SOI
    while (at + 4 <= jpeg.size() && jpeg[at] == 0xFF) {
        const unsigned marker = jpeg[at + 1];
        const std::size_t length = std::size_t{jpeg[at + 2]} << 8 | jpeg[at + 3];
        if (marker == 0xDA || length < 2 || at + 2 + length > jpeg.size())
            break;  // the scan starts: no more headers
        if (marker == 0xE1)
            if (const int o = OrientationInExif(&jpeg[at + 4], length - 2); o != 1)
                return o;
        at += 2 + length;
    }
    return 1;
}

RgbPicture Oriented(const RgbPicture& stored, int o) {
    if (o < 2 || o > 8)
        return stored;
    const bool swap = o >= 5;
    RgbPicture out{swap ? stored.height : stored.width, swap ? stored.width : stored.height, {}};
    out.pixels.resize(stored.pixels.size());
    const int w = stored.width, h = stored.height;
    for (int y = 0; y < out.height; ++y) {
        for (int x = 0; x < out.width; ++x) {
            // The stored pixel shown at (x, y).
            int sx = x, sy = y;
            switch (o) {
                case 2:
                    sx = w - 1 - x;
                    break;
                case 3:
                    sx = w - 1 - x;
                    sy = h - 1 - y;
                    break;
                case 4:
                    sy = h - 1 - y;
                    break;
                case 5:
                    sx = y;
                    sy = x;
                    break;
                case 6:
                    sx = y;
                    sy = h - 1 - x;
                    break;
                case 7:
                    sx = w - 1 - y;
                    sy = h - 1 - x;
                    break;
                case 8:
                    sx = w - 1 - y;
                    sy = x;
                    break;
            }
            const unsigned char* from = &stored.pixels[(std::size_t(sy) * w + sx) * 3];
            unsigned char* to = &out.pixels[(std::size_t(y) * out.width + x) * 3];
            to[0] = from[0];
            to[1] = from[1];
            to[2] = from[2];
        }
    }
    return out;
}

}  // namespace stampa
