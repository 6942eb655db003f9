// A plain, slow transcription of the conversion rules, one pixel at a time,
// with no tables, no bit packing tricks and no shortcuts: the yardstick the
// library's fast code is compared against.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace melt::reference {

inline int Clamp(long v) {
    return v > 255 ? 255 : (v < 0 ? 0 : static_cast<int>(v));
}

inline int Stretch(int p, int k, int b) {
    long v;
    if (k < 0) {
        double t = 255.0 / (2 * k + 255);
        v = static_cast<long>(p / t - k);
    } else if (p <= k) {
        v = 0;
    } else if (p >= 255 - k) {
        v = 255;
    } else {
        double d = (255 - 2 * k) * 0.00392156862745098;
        v = static_cast<long>((p - k) / d);
    }
    return Clamp(v + b);
}

inline int AroundMean(int p, int k, int b, int m) {
    double f = k >= 0 ? 1.0 + k * 0.1 : 1.0 - std::sqrt(-k) * 0.1;
    return Clamp(static_cast<long>((p - m) * f + m) + b);
}

inline int B8(int r, int c) {
    static const int m[8][8] = {{0, 32, 8, 40, 2, 34, 10, 42},  {48, 16, 56, 24, 50, 18, 58, 26},
                                {12, 44, 4, 36, 14, 46, 6, 38}, {60, 28, 52, 20, 62, 30, 54, 22},
                                {3, 35, 11, 43, 1, 33, 9, 41},  {51, 19, 59, 27, 49, 17, 57, 25},
                                {15, 47, 7, 39, 13, 45, 5, 37}, {63, 31, 55, 23, 61, 29, 53, 21}};
    return m[r][c];
}

inline int B16(int r, int c) {
    int q = r < 8 ? (c < 8 ? 0 : 3) : (c < 8 ? 2 : 1);
    return 4 * B8(r % 8, c % 8) + q;
}

// Converts pixel rows (file order, blue green red, rows of stride24 bytes) and
// returns the 1-bit rows (stride bytes each), as the library must write them.
inline std::vector<std::uint8_t> Convert(const std::uint8_t* px, int w, int h, int method, int k,
                                         int b) {
    const int stride24 = ((24 * w + 31) / 32) * 4;
    const int stride = ((w + 31) / 32) * 4;
    std::vector<std::uint8_t> out(static_cast<std::size_t>(stride) * h, 0);
    auto at = [&](int x, int y, int c) { return px[y * stride24 + 3 * x + c]; };
    auto white = [&](int x, int y) { out[y * stride + x / 8] |= 0x80 >> (x % 8); };
    auto luma = [&](int x, int y) {
        return (299 * Stretch(at(x, y, 2), k, b) + 587 * Stretch(at(x, y, 1), k, b) +
                114 * Stretch(at(x, y, 0), k, b)) /
               1000;
    };
    long sum[3] = {0, 0, 0}, raw[3] = {0, 0, 0};
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            for (int c = 0; c < 3; ++c) {
                sum[c] += Stretch(at(x, y, c), k, b);
                raw[c] += at(x, y, c);
            }
    const long n = static_cast<long>(w) * h;
    if (method == 0) {
        int t = (587 * (sum[1] / n) + 299 * (sum[2] / n) + 114 * (sum[0] / n)) / 1000;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                if (luma(x, y) > t)
                    white(x, y);
    } else if (method == 1) {
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                if (luma(x, y) / 4 > B8(y % 8, x % 8))
                    white(x, y);
    } else if (method == 2) {
        int mb = raw[0] / n, mg = raw[1] / n, mr = raw[2] / n;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                int l = (299 * AroundMean(at(x, y, 2), k, b, mr) +
                         587 * AroundMean(at(x, y, 1), k, b, mg) +
                         114 * AroundMean(at(x, y, 0), k, b, mb)) /
                        1000;
                if (l > B16(y % 16, x % 16))
                    white(x, y);
            }
    } else if (method == 3) {
        std::vector<int> cur(w, 0), next(w, 0);
        for (int y = 0; y < h; ++y) {
            cur = next;
            std::fill(next.begin(), next.end(), 0);
            int carried = 0;
            bool ltr = y % 2 == 1;
            for (int i = 0; i < w; ++i) {
                int x = ltr ? i : w - 1 - i;
                int v = luma(x, y) + cur[x] + carried;
                int e = v;
                if (v > 128) {
                    white(x, y);
                    e = v - 255;
                }
                if (i < w - 1)
                    carried = e * 3 / 8;
                if (y < h - 1) {
                    next[x] += e * 3 / 8;
                    int d = ltr ? x + 1 : x - 1;
                    if (d >= 0 && d < w)
                        next[d] += e / 4;
                }
            }
        }
    }
    return out;
}

}  // namespace melt::reference
