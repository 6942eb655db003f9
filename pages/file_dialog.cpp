#include "pages/file_dialog.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

#include "common/messages.h"
#include "pages/dialog_units.h"

namespace stampa {
namespace {

class QtFileDialog final : public IFileDialog {
  public:
    bool PickBitmaps(QWidget* parent, std::vector<std::string>& files) override {
        QFileDialog dialog(parent);
        dialog.setFileMode(QFileDialog::ExistingFiles);
        // Every picture the pick brings in first, then the BMPs the printer takes as they are.
        dialog.setNameFilters({UiText(msg::kPictureFilesFilter), UiText(msg::kBitmapFilesFilter),
                               UiText(msg::kAllFilesFilter)});
        dialog.setDefaultSuffix(QStringLiteral("bmp"));
        dialog.setDirectory(QDir::current());
        if (dialog.exec() != QDialog::Accepted) {
            return false;
        }
        files.clear();
        for (const QString& file : dialog.selectedFiles())
            files.push_back(file.toStdString());
        if (!files.empty()) {
            QDir::setCurrent(QFileInfo(QString::fromStdString(files.front())).absolutePath());
        }
        return true;
    }
};

QtFileDialog qtDialog;
IFileDialog* installed = nullptr;

}  // namespace

IFileDialog* SetFileDialog(IFileDialog* dialog) {
    IFileDialog* previous = installed;
    installed = dialog;
    return previous;
}

IFileDialog& CurrentFileDialog() {
    return installed != nullptr ? *installed : qtDialog;
}

}  // namespace stampa
