// Turning receipts and logos into pictures (QtGui; needs a QGuiApplication).
#pragma once

#include <QImage>
#include <string>

#include "vprinter/raster_logo.h"
#include "vprinter/receipt.h"

namespace vprinter {

inline constexpr int kLineHeight = 30;  // dots a line feed advances the paper
inline constexpr int kMargin = 16;      // blank paper above and below the print

// A logo, black dots on white, scaled by whole factors.
QImage RenderLogo(const RasterLogo& logo, int scaleX = 1, int scaleY = 1);

// The whole receipt on paper `paperWidth` dots wide: text lines in a monospace
// font, logos at the left edge, cut off at the paper's right edge.
QImage RenderReceipt(const Receipt& receipt, int paperWidth);

// Writes receipt-NNNN.png and receipt-NNNN.txt (the command log) into `folder`.
bool WriteReceiptFiles(const std::string& folder, int number, const Receipt& receipt,
                       int paperWidth);

}  // namespace vprinter
