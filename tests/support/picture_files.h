// Builds PNG, JPEG and GIF files for tests: PNG and JPEG through stb's writer
// (Debian's libstb-dev), a JPEG's EXIF orientation and every GIF byte by
// byte. Pictures are described top row first, as RGBA.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#endif
#include <stb/stb_image_write.h>
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

namespace stampa::test {

struct Rgba {
    unsigned char r = 0, g = 0, b = 0, a = 255;
};
using RgbaAt = std::function<Rgba(int x, int y)>;

inline std::vector<unsigned char> Pixels(int w, int h, const RgbaAt& at) {
    std::vector<unsigned char> p;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const Rgba c = at(x, y);
            p.insert(p.end(), {c.r, c.g, c.b, c.a});
        }
    return p;
}

inline void Collect(void* out, void* data, int size) {
    auto* bytes = static_cast<unsigned char*>(data);
    static_cast<std::vector<unsigned char>*>(out)->insert(
        static_cast<std::vector<unsigned char>*>(out)->end(), bytes, bytes + size);
}

inline std::vector<unsigned char> Png(int w, int h, const RgbaAt& at) {
    std::vector<unsigned char> out;
    const auto pixels = Pixels(w, h, at);
    stbi_write_png_to_func(Collect, &out, w, h, 4, pixels.data(), w * 4);
    return out;
}

// A JPEG at quality 100 with, when `orientation` is not 0, an APP1 EXIF
// segment (big-endian TIFF, one IFD0 entry: tag 0x0112) right after SOI.
inline std::vector<unsigned char> Jpeg(int w, int h, const RgbaAt& at, int orientation = 0) {
    std::vector<unsigned char> out;
    const auto pixels = Pixels(w, h, at);
    stbi_write_jpg_to_func(Collect, &out, w, h, 4, pixels.data(), 100);
    if (orientation == 0)
        return out;
    const std::vector<unsigned char> app1 = {0xFF, 0xE1,
                                             0x00, 34,
                                             'E',  'x',
                                             'i',  'f',
                                             0,    0,  // marker, length, "Exif\0\0"
                                             'M',  'M',
                                             0,    42,
                                             0,    0,
                                             0,    8,  // TIFF header: IFD0 at 8
                                             0,    1,  // one entry
                                             0x01, 0x12,
                                             0,    3,
                                             0,    0,
                                             0,    1,  // orientation, SHORT, count 1
                                             0,    static_cast<unsigned char>(orientation),
                                             0,    0,  // its value
                                             0,    0,
                                             0,    0};  // no next IFD
    out.insert(out.begin() + 2, app1.begin(), app1.end());
    return out;
}

// A GIF89a with a global palette of 256 colours, one image per frame of
// `frames` (indices top row first), and colour `transparent` (-1: none)
// transparent. The LZW stream uses 9-bit codes only: a clear code comes
// before the table would need a tenth bit.
inline std::vector<unsigned char> Gif(int w, int h, const std::vector<Rgba>& palette,
                                      const std::vector<std::vector<unsigned char>>& frames,
                                      int transparent = -1) {
    std::vector<unsigned char> g = {'G', 'I', 'F', '8', '9', 'a'};
    const auto u16 = [&g](int v) {
        g.insert(g.end(), {static_cast<unsigned char>(v), static_cast<unsigned char>(v >> 8)});
    };
    u16(w);
    u16(h);
    g.insert(g.end(), {0xF7, 0, 0});  // global table of 256 entries
    for (int i = 0; i < 256; ++i) {
        const Rgba c = i < static_cast<int>(palette.size()) ? palette[i] : Rgba{};
        g.insert(g.end(), {c.r, c.g, c.b});
    }
    for (const auto& indices : frames) {
        g.insert(g.end(), {0x21, 0xF9, 4, static_cast<unsigned char>(transparent >= 0 ? 1 : 0), 0,
                           0, static_cast<unsigned char>(transparent >= 0 ? transparent : 0), 0});
        g.push_back(0x2C);
        u16(0);
        u16(0);
        u16(w);
        u16(h);
        g.push_back(0);
        g.push_back(8);  // minimum code size
        std::vector<unsigned char> data;
        std::uint32_t bits = 0;
        int count = 0;
        const auto put = [&](unsigned code) {
            bits |= code << count;
            count += 9;
            while (count >= 8) {
                data.push_back(static_cast<unsigned char>(bits));
                bits >>= 8;
                count -= 8;
            }
        };
        for (std::size_t i = 0; i < indices.size(); ++i) {
            if (i % 250 == 0)
                put(256);  // clear
            put(indices[i]);
        }
        put(257);  // end
        if (count > 0)
            data.push_back(static_cast<unsigned char>(bits));
        for (std::size_t at = 0; at < data.size(); at += 255) {
            const std::size_t n = std::min<std::size_t>(255, data.size() - at);
            g.push_back(static_cast<unsigned char>(n));
            g.insert(g.end(), data.begin() + static_cast<long>(at),
                     data.begin() + static_cast<long>(at + n));
        }
        g.push_back(0);
    }
    g.push_back(0x3B);
    return g;
}

}  // namespace stampa::test
