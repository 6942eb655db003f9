// JPEG pictures, read by libjpeg-turbo where the build has it (Linux). A build
// without it (the Windows cross build: Debian has no mingw libjpeg) refuses
// JPEG pictures with a clear message instead of reading them with a weaker
// decoder.
#pragma once

#include <optional>
#include <vector>

#include "logos/rgb_picture.h"

namespace stampa {

bool JpegSupported();

struct JpegSize {
    int width = 0;
    int height = 0;
};

// The stored size from the header alone; nothing when the header is broken.
std::optional<JpegSize> JpegHeaderSize(const std::vector<unsigned char>& jpeg);

// The stored pixels (before the EXIF orientation) as RGB; nothing when the
// decoder reports an error or a warning (a truncated or corrupt scan).
std::optional<RgbPicture> DecodeJpeg(const std::vector<unsigned char>& jpeg);

}  // namespace stampa
