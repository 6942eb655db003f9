// What the picture readers' targets share: the input decoded as one format
// (its first bytes made that format's signature, so every run reaches the
// reader), with a claim limit of a megapixel so that runs stay fast; the real
// limits are the unit tests'.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string_view>
#include <vector>

#include "logos/picture_decode.h"

namespace stampa::fuzz {

inline int DecodeAs(std::string_view signature, const std::uint8_t* data, std::size_t size) {
    std::vector<unsigned char> bytes(data, data + size);
    std::copy_n(signature.begin(), std::min(signature.size(), bytes.size()), bytes.begin());
    PictureLimits limits;
    limits.maxPixels = 1 << 20;
    DecodePicture(bytes, limits);
    return 0;
}

}  // namespace stampa::fuzz
