#include "vprinter/render.h"

#include <QBuffer>
#include <QFont>
#include <QFontDatabase>
#include <QPainter>
#include <cstdio>

#include "common/atomic_file.h"

namespace vprinter {
namespace {

int ItemHeight(const ReceiptItem& item) {
    return item.kind == ReceiptItem::Kind::Logo ? item.logo.HeightDots() * item.scaleY
                                                : kLineHeight;
}

QFont ReceiptFont() {
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setStyleHint(QFont::Monospace);
    font.setPixelSize(22);
    return font;
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
    painter.setFont(ReceiptFont());
    painter.setPen(Qt::black);
    int y = kMargin;
    for (const ReceiptItem& item : receipt.items) {
        if (item.kind == ReceiptItem::Kind::Logo) {
            painter.drawImage(0, y, RenderLogo(item.logo, item.scaleX, item.scaleY));
        } else if (!item.text.empty()) {
            painter.drawText(QRect(0, y, paperWidth, kLineHeight), Qt::AlignLeft | Qt::AlignVCenter,
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
