#include "vprinter/render.h"

#include <QBuffer>
#include <QFont>
#include <QFontDatabase>
#include <QPainter>
#include <algorithm>
#include <cstdio>

#include "common/atomic_file.h"

namespace vprinter {
namespace {

int ItemHeight(const ReceiptItem& item) {
    return item.kind == ReceiptItem::Kind::Logo ? item.logo.HeightDots() * item.scaleY
                                                : kLineHeight * item.scaleY;
}

// The characters magnified as ESC ! and GS ! say: taller, and wider by the
// ratio of the two factors.
QFont ReceiptFont(int scaleX, int scaleY) {
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setStyleHint(QFont::Monospace);
    font.setPixelSize(22 * scaleY);
    font.setStretch(std::clamp(100 * scaleX / scaleY, 1, 4000));
    return font;
}

// Where a picture of `width` dots starts across the paper (ESC a).
int Left(int align, int width, int paperWidth) {
    if (align == 1)
        return std::max(0, (paperWidth - width) / 2);
    if (align == 2)
        return std::max(0, paperWidth - width);
    return 0;
}

Qt::Alignment TextAlignment(int align) {
    const Qt::Alignment across = align == 1   ? Qt::AlignHCenter
                                 : align == 2 ? Qt::AlignRight
                                              : Qt::AlignLeft;
    return across | Qt::AlignVCenter;
}

std::string Numbered(const std::string& folder, const char* stem, int number, const char* ext) {
    char name[64];
    std::snprintf(name, sizeof name, "/%s-%04d.%s", stem, number, ext);
    return folder + name;
}

}  // namespace

QImage RenderLogo(const RasterLogo& logo, int scaleX, int scaleY) {
    QImage image(logo.WidthDots() * scaleX, logo.HeightDots() * scaleY, QImage::Format_Grayscale8);
    image.fill(255);
    for (int x = 0; x < logo.WidthDots(); ++x) {
        for (int y = 0; y < logo.HeightDots(); ++y) {
            if (!logo.Dot(x, y))
                continue;
            for (int dy = 0; dy < scaleY; ++dy) {
                uchar* row = image.scanLine(y * scaleY + dy);
                for (int dx = 0; dx < scaleX; ++dx)
                    row[x * scaleX + dx] = 0;
            }
        }
    }
    return image;
}

QImage RenderReceipt(const Receipt& receipt, int paperWidth) {
    int height = 2 * kMargin;
    for (const ReceiptItem& item : receipt.items)
        height += ItemHeight(item);
    QImage paper(paperWidth, height, QImage::Format_Grayscale8);
    paper.fill(255);
    QPainter painter(&paper);
    painter.setPen(Qt::black);
    int y = kMargin;
    for (const ReceiptItem& item : receipt.items) {
        if (item.kind == ReceiptItem::Kind::Logo) {
            const QImage logo = RenderLogo(item.logo, item.scaleX, item.scaleY);
            painter.drawImage(Left(item.align, logo.width(), paperWidth), y, logo);
        } else if (!item.text.empty()) {
            painter.setFont(ReceiptFont(item.scaleX, item.scaleY));
            painter.drawText(QRect(0, y, paperWidth, ItemHeight(item)), TextAlignment(item.align),
                             QString::fromLatin1(item.text.c_str()));
        }
        y += ItemHeight(item);
    }
    return paper;
}

// Both files appear whole, each through a temporary file renamed into place,
// the log last: once receipt-NNNN.txt exists, the receipt is complete.
bool WriteReceiptFiles(const std::string& folder, int number, const Receipt& receipt,
                       int paperWidth) {
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    const bool drawn = RenderReceipt(receipt, paperWidth).save(&buffer, "PNG");
    std::string log;
    for (const std::string& line : receipt.log)
        log += line + '\n';
    return drawn &&
           stampa::ReplaceFileAtomically(Numbered(folder, "receipt", number, "png"),
                                         {png.begin(), png.end()}) &&
           stampa::ReplaceFileAtomically(Numbered(folder, "receipt", number, "txt"),
                                         {log.begin(), log.end()});
}

}  // namespace vprinter
