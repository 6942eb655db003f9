// Small helpers for placing the pages' static texts and read-only fields.
#pragma once

#include <QLabel>
#include <QLineEdit>

#include "pages/dialog_units.h"

namespace stampa {

inline QLabel* Static(QWidget* parent, const DialogUnits& u, int id, const QString& text, int x,
                      int y, int w, int h) {
    auto* label = new QLabel(text, parent);
    Place(label, u, id, x, y, w, h);
    return label;
}

// A disabled edit showing a value (the printer type, the port name).
inline QLineEdit* ReadOnlyField(QWidget* parent, const DialogUnits& u, int id, int x, int y) {
    auto* edit = new QLineEdit(parent);
    Place(edit, u, id, x, y, 63, 14);
    edit->setEnabled(false);
    return edit;
}

}  // namespace stampa
