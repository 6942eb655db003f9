#include "pages/dialog_units.h"

#include <QFontMetricsF>
#include <QWidget>
#include <cmath>

namespace stampa {

DialogUnits::DialogUnits(const QFont& font) {
    const QFontMetricsF metrics(font);
    // The average width of the 52 letters, as the dialog manager measures it.
    const QString letters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    unitX_ = metrics.horizontalAdvance(letters) / letters.size() / 4.0;
    unitY_ = metrics.height() / 8.0;
}

QRect DialogUnits::ToPixels(int x, int y, int width, int height) const {
    return QRect(static_cast<int>(std::lround(x * unitX_)),
                 static_cast<int>(std::lround(y * unitY_)),
                 static_cast<int>(std::lround(width * unitX_)),
                 static_cast<int>(std::lround(height * unitY_)));
}

QSize DialogUnits::ToPixels(int width, int height) const {
    return ToPixels(0, 0, width, height).size();
}

QFont DialogFont(int points) {
    QFont font(QStringLiteral("WenQuanYi Micro Hei"));
    font.setPointSize(points);
    return font;
}

void Place(QWidget* widget, const DialogUnits& units, int id, int x, int y, int width, int height) {
    widget->setGeometry(units.ToPixels(x, y, width, height));
    if (id != 0)
        widget->setObjectName(QString::number(id));
}

}  // namespace stampa
