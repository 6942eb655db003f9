// stampa-screenshots: renders the main sheet's pages offscreen to PNG files
// for the documentation (`stampa-screenshots OUT_DIR [LOGO.bmp...]`), in the working
// directory's state (Stampa.ini); the logos given are picked, the first one
// shown converted on the preview page. With a USB printer present (a virtual
// printer's, through QZUSB_DEVICE_DIR) the sheet is connected to it first, so
// the status line and the download page show a connection.
#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QTabWidget>
#include <QTreeWidget>
#include <cstdio>

#include "app/main_sheet.h"
#include "app/qt_language.h"
#include "pages/config_page.h"
#include "pages/file_dialog.h"
#include "pages/preview_page.h"
#include "pages/select_page.h"
#include "workflows/startup.h"

namespace {

// Picks the files named on the command line, as the operator would.
class GivenFiles final : public stampa::IFileDialog {
  public:
    explicit GivenFiles(std::vector<std::string> files) : files_(std::move(files)) {}
    bool PickBitmaps(QWidget*, std::vector<std::string>& files) override {
        files = files_;
        return true;
    }

  private:
    std::vector<std::string> files_;
};

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    stampa::ChooseLanguageAtStart();
    stampa::InstallQtTranslations(application);
    if (argc < 2) {
        std::fprintf(stderr, "usage: stampa-screenshots OUT_DIR\n");
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    stampa::Session session;
    if (!stampa::StartUp(session)) {
        return 1;
    }
    stampa::CMainSheet sheet(session);
    sheet.show();
    auto* usb = sheet.ConfigPage()->findChild<QAbstractButton*>(QStringLiteral("1014"));
    if (usb != nullptr && usb->isEnabled()) {
        usb->click();
        sheet.ConfigPage()->findChild<QAbstractButton*>(QStringLiteral("1"))->click();
    }
    // The logos given after the folder are picked; the first is shown converted.
    std::vector<std::string> files;
    for (int i = 2; i < argc; ++i)
        files.push_back(QDir(QString::fromLocal8Bit(argv[i])).absolutePath().toStdString());
    GivenFiles given(files);
    stampa::SetFileDialog(&given);
    if (!files.empty()) {
        sheet.SelectPage()->OnOpen();
        sheet.Tabs()->setCurrentIndex(2);
        QApplication::processEvents();
        sheet.PreviewPage()->findChild<QAbstractButton*>(QStringLiteral("1072"))->click();
        sheet.PreviewPage()->OnListClick(sheet.PreviewPage()->List()->topLevelItem(0));
    }
    const char* names[] = {"config", "select", "preview", "download", "print"};
    for (int i = 0; i < sheet.Tabs()->count() && i < 5; ++i) {
        sheet.Tabs()->setCurrentIndex(i);
        QApplication::processEvents();
        sheet.grab().save(out + "/page-" + names[i] + ".png");
    }
    stampa::SetFileDialog(nullptr);
    stampa::ShutDown(session);
    return 0;
}
