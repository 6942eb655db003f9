// The file-open dialog as a replaceable service, like the message boxes, so
// tests can pick files.
#pragma once

#include <string>
#include <vector>

class QWidget;

namespace stampa {

class IFileDialog {
  public:
    virtual ~IFileDialog() = default;
    // The chosen files, full paths in the dialog's order; false when the
    // dialog did not end with OK. On OK the chosen files' folder becomes the
    // working directory, as on the program's original platform.
    virtual bool PickBitmaps(QWidget* parent, std::vector<std::string>& files) = 0;
};

// Installs the dialog used from now on (nullptr: the Qt file dialog); the previous one.
IFileDialog* SetFileDialog(IFileDialog* dialog);
IFileDialog& CurrentFileDialog();

}  // namespace stampa
