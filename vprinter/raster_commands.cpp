// The raster pictures other programs print without storing anything: GS v 0
// (raster bit image), ESC * (bit image in columns) and the graphics of the
// print buffer (GS ( L / GS 8 L functions 112 and 50), as the makers'
// references describe them.
#include <string>

#include "vprinter/printer.h"

namespace vprinter {
namespace {

// The most data one picture command is waited for: a picture of 65535 x 8
// dots' bytes wide would need more than any paper; the rest is skipped.
constexpr std::size_t kMaxPictureBytes = 8u << 20;

std::string Size(int x, int y) {
    return std::to_string(x) + "x" + std::to_string(y);
}

// ESC * m: the dot sizes of the four densities on a printer of one dot
// density (the references give 1/3 of it vertically for the 8-dot modes and
// 1/2 of it horizontally for single density): (across, down).
std::optional<std::pair<int, int>> BitImageDots(int m) {
    switch (m) {
        case 0:
            return std::pair{2, 3};
        case 1:
            return std::pair{1, 3};
        case 32:
            return std::pair{2, 1};
        case 33:
            return std::pair{1, 1};
        default:
            return std::nullopt;
    }
}

}  // namespace

// GS v 0 m xL xH yL yH, then x * y bytes: rows from the top, x bytes each.
std::size_t Session::RasterImage() {
    if (!Have(8)) {
        return 0;
    }
    if (At(2) != '0' && At(2) != 0) {
        Log("GS v " + std::to_string(At(2)) + " (unknown, GS skipped)");
        return 1;
    }
    const int m = At(3);
    const int x = At(4) | (At(5) << 8), y = At(6) | (At(7) << 8);
    const std::size_t data = static_cast<std::size_t>(x) * static_cast<std::size_t>(y);
    const std::string text = "GS v 0 " + std::to_string(m) + " " + Size(x * 8, y);
    if (data > kMaxPictureBytes) {
        Log(text + " (too large, skipped)");
        return 8;
    }
    if (!Have(8 + data)) {
        return 0;
    }
    const auto scale = ScaleOfMode(m);
    if (!scale || data == 0) {
        Log(text + " (not valid, nothing printed)");
        return 8 + data;
    }
    NvGraphic picture;
    picture.width = x * 8;
    picture.height = y;
    const auto from = pending_.begin() + static_cast<long>(at_ + 8);
    picture.rows.assign(from, from + static_cast<long>(data));
    Log(text);
    PrintScaled(picture.ToLogo(), scale->first, scale->second);
    return 8 + data;
}

// ESC * m nL nH, then n columns of one (8-dot modes) or three (24-dot modes)
// bytes, the top dot in the most significant bit. The strip goes into the
// line: the LF that ends it prints it, without a blank line of its own.
std::size_t Session::BitImage() {
    if (!Have(5)) {
        return 0;
    }
    const int m = At(2);
    const int n = At(3) | (At(4) << 8);
    const int bands = m >= 32 ? 3 : 1;
    const std::size_t data = static_cast<std::size_t>(n) * bands;
    if (!Have(5 + data)) {
        return 0;
    }
    const std::string text = "ESC * " + std::to_string(m) + " " + std::to_string(n);
    const auto dots = BitImageDots(m);
    if (!dots || n == 0) {
        Log(text + " (not valid, nothing printed)");
        return 5 + data;
    }
    RasterLogo strip;
    strip.xBytes = (n + 7) / 8;
    strip.yBands = bands;
    strip.width = n;
    strip.height = 8 * bands;
    strip.data.assign(static_cast<std::size_t>(strip.xBytes) * 8 * bands, 0);
    const auto from = pending_.begin() + static_cast<long>(at_ + 5);
    std::copy(from, from + static_cast<long>(data), strip.data.begin());
    Log(text);
    FlushLine(false);
    PrintScaled(strip, dots->first, dots->second);
    lineHasImage_ = true;
    return 5 + data;
}

// Function 112: m fn a bx by c xL xH yL yH, then ceil(x / 8) x y bytes of
// rows; kept in the print buffer (one picture) until function 50 prints it.
void Session::StoreGraphics(std::size_t at, std::size_t parameters) {
    if (parameters < 10) {
        Log("GRAPHICS STORE with " + std::to_string(parameters) +
            " parameter bytes (malformed, ignored)");
        return;
    }
    NvGraphic picture;
    const int bx = At(at + 3), by = At(at + 4);
    picture.width = At(at + 6) | (At(at + 7) << 8);
    picture.height = At(at + 8) | (At(at + 9) << 8);
    const std::size_t data = picture.RowBytes() * static_cast<std::size_t>(picture.height);
    const std::string text =
        "GRAPHICS STORE " + Size(picture.width, picture.height) + " " + Size(bx, by);
    if (At(at + 2) != '0' || (bx != 1 && bx != 2) || (by != 1 && by != 2) ||
        (At(at + 5) != '1' && At(at + 5) != 1) || picture.width < 1 || picture.height < 1 ||
        parameters != 10 + data) {
        Log(text + " (malformed, ignored)");
        return;
    }
    const auto from = pending_.begin() + static_cast<long>(at_ + at + 10);
    picture.rows.assign(from, from + static_cast<long>(data));
    buffered_ = BufferedGraphics{std::move(picture), bx, by};
    Log(text);
}

// Function 50: the picture of the print buffer printed, and the buffer emptied.
void Session::PrintStoredGraphics() {
    if (!buffered_) {
        Log("GRAPHICS PRINT (nothing stored, nothing printed)");
        return;
    }
    Log("GRAPHICS PRINT " + Size(buffered_->picture.width, buffered_->picture.height));
    PrintScaled(buffered_->picture.ToLogo(), buffered_->scaleX, buffered_->scaleY);
    buffered_.reset();
}

}  // namespace vprinter
