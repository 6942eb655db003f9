// A picture as red, green and blue bytes, and the 24-bit BMP file the rest of
// the program reads it from: the form every picture takes once it is picked
// (a fitted logo, a PNG, JPEG or GIF brought in).
#pragma once

#include <string>
#include <vector>

namespace stampa {

struct RgbPicture {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> pixels;  // 3 bytes a pixel, the top row first
};

// A 24-bit bottom-up BMP of the picture, replacing the file at `path` whole.
bool WriteTrueColorBmp(const std::string& path, const RgbPicture& picture);

}  // namespace stampa
