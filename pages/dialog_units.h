// Pages are laid out as their dialog templates describe them, in dialog units:
// one horizontal unit is a quarter of the dialog font's average character
// width, one vertical unit an eighth of its height.
#pragma once

#include <QFont>
#include <QRect>
#include <QString>

#include "common/language.h"

class QWidget;

namespace stampa {

class DialogUnits {
  public:
    explicit DialogUnits(const QFont& font);
    QRect ToPixels(int x, int y, int width, int height) const;
    QSize ToPixels(int width, int height) const;

  private:
    double unitX_;
    double unitY_;
};

// The dialog font of the pages: 8 points, or 10 for the download and print pages.
QFont DialogFont(int points = 8);

// A catalogue text as the pages show it: in the chosen language.
inline QString UiText(const char* text) {
    return QString::fromUtf8(Localize(text));
}

// Places `widget` at a template position and names it by its control id.
void Place(QWidget* widget, const DialogUnits& units, int id, int x, int y, int width, int height);

}  // namespace stampa
