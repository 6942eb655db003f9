// RLE-compressed BMPs (RLE8: compression 1, 8 bits; RLE4: compression 2,
// 4 bits), which the general decoder does not take. Every code is bounded by
// the rows and the file; the bitmap must end with its end code or fill its
// rows, else it is truncated.
#include <cstdint>

#include "logos/picture_decode.h"

namespace stampa {
namespace {

std::uint32_t U32(const std::vector<unsigned char>& b, std::size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | std::uint32_t{b[at + 3]} << 24;
}
unsigned U16(const std::vector<unsigned char>& b, std::size_t at) {
    return b[at] | b[at + 1] << 8;
}

struct Canvas {
    RgbPicture& picture;
    const std::vector<unsigned char>& palette;  // BGRX entries
    long x = 0, row = 0;                        // row 0 is the bottom one
    bool Put(unsigned index) {
        if (x >= picture.width || row >= picture.height)
            return false;
        if (index * 4 + 2 < palette.size()) {
            unsigned char* p =
                &picture.pixels[(std::size_t(picture.height - 1 - row) * picture.width + x) * 3];
            p[0] = palette[index * 4 + 2];
            p[1] = palette[index * 4 + 1];
            p[2] = palette[index * 4];
        }
        ++x;
        return true;
    }
};

// Runs the codes from `at`; true when the end code came or every row was filled.
bool RunCodes(const std::vector<unsigned char>& b, std::size_t at, bool four, Canvas& c) {
    const auto nibbleOrByte = [four](unsigned value, unsigned i) {
        return four ? (i % 2 == 0 ? value >> 4 : value & 0x0F) : value;
    };
    while (at + 2 <= b.size()) {
        const unsigned count = b[at], value = b[at + 1];
        at += 2;
        if (count > 0) {  // a run of one index (RLE4: two alternating)
            for (unsigned i = 0; i < count; ++i)
                if (!c.Put(nibbleOrByte(value, i)))
                    return false;
        } else if (value == 0) {  // end of row
            c.x = 0;
            ++c.row;
        } else if (value == 1) {  // end of bitmap
            return true;
        } else if (value == 2) {  // move right and up
            if (at + 2 > b.size())
                return false;
            c.x += b[at];
            c.row += b[at + 1];
            at += 2;
            if (c.x > c.picture.width || c.row > c.picture.height)
                return false;
        } else {  // `value` indices as they are, padded to a 16-bit boundary
            const std::size_t bytes = four ? (value + 1) / 2 : value;
            if (at + bytes > b.size())
                return false;
            for (unsigned i = 0; i < value; ++i)
                if (!c.Put(nibbleOrByte(b[at + (four ? i / 2 : i)], i)))
                    return false;
            at += (bytes + 1) / 2 * 2;
        }
        if (c.row >= c.picture.height)
            return true;
    }
    return false;
}

}  // namespace

RleBmp DecodeRleBmp(const std::vector<unsigned char>& b, const PictureLimits& limits) {
    RleBmp out;
    if (b.size() < 54 || b[0] != 'B' || b[1] != 'M')
        return out;
    const std::uint32_t compression = U32(b, 30);
    const unsigned bits = U16(b, 28);
    if (!((compression == 1 && bits == 8) || (compression == 2 && bits == 4)))
        return out;
    out.isRle = true;
    const auto width = static_cast<std::int32_t>(U32(b, 18));
    const auto height = static_cast<std::int32_t>(U32(b, 22));
    const std::uint32_t infoSize = U32(b, 14), offset = U32(b, 10);
    std::uint32_t colours = U32(b, 46);
    if (colours == 0 || colours > (1u << bits))
        colours = 1u << bits;
    // A top-down RLE bitmap does not exist; a size past the limits is not decoded.
    if (width < 1 || height < 1 || infoSize < 40 || infoSize > b.size() ||
        static_cast<long long>(width) * height > limits.maxPixels ||
        14 + std::size_t{infoSize} + colours * 4 > b.size() || offset >= b.size())
        return out;
    const std::vector<unsigned char> palette(b.begin() + 14 + infoSize,
                                             b.begin() + 14 + infoSize + colours * 4);
    out.picture = {width, height,
                   std::vector<unsigned char>(std::size_t(width) * std::size_t(height) * 3, 255)};
    Canvas canvas{out.picture, palette};
    out.intact = RunCodes(b, offset, bits == 4, canvas);
    return out;
}

}  // namespace stampa
