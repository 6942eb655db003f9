// What one receipt holds: the printed lines and logos in order, and the log of
// the commands that made it.
#pragma once

#include <string>
#include <vector>

#include "vprinter/raster_logo.h"

namespace vprinter {

struct ReceiptItem {
    enum class Kind { TextLine, Logo } kind = Kind::TextLine;
    std::string text;  // TextLine: the line's text (empty for a blank line feed)
    RasterLogo logo;   // Logo: the logo printed
    int scaleX = 1;    // a logo's dots, or a text line's characters, magnified
    int scaleY = 1;
    int align = 0;  // 0 left, 1 centred, 2 right (ESC a)
};

struct Receipt {
    std::vector<ReceiptItem> items;
    std::vector<std::string> log;
    bool HasContent() const { return !items.empty(); }
};

}  // namespace vprinter
