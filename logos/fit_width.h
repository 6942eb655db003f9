// Fitting a logo to the paper: a picture wider than the printable dots is
// scaled down (area filter, stb_image_resize) to exactly that width, its
// height in proportion, and written as a 24-bit BMP for Pixmelt to convert.
// A picture that fits is never scaled up.
#pragma once

#include <optional>
#include <string>

namespace stampa {

enum class FitResult {
    Fits,        // no wider than the paper: nothing written
    Scaled,      // written to `path`
    Unreadable,  // neither a 1-bit nor a 24-bit BMP that can be read
    NotWritten,  // the scaled picture could not be written
};

struct FitOutcome {
    FitResult result = FitResult::Unreadable;
    std::string path;  // the scaled picture: "<name>-<dots>dots.bmp" beside the original
    int width = 0;     // of the scaled picture
    int height = 0;
};

// Scales the BMP at `path` down to `dots` across where it is wider.
FitOutcome FitToWidth(const std::string& path, int dots);

}  // namespace stampa
