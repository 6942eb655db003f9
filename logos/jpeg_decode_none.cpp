// A build without libjpeg: JPEG pictures are refused.
#include "logos/jpeg_decode.h"

namespace stampa {

bool JpegSupported() {
    return false;
}

std::optional<JpegSize> JpegHeaderSize(const std::vector<unsigned char>&) {
    return std::nullopt;
}

std::optional<RgbPicture> DecodeJpeg(const std::vector<unsigned char>&) {
    return std::nullopt;
}

}  // namespace stampa
