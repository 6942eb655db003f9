// stampa-screenshots: renders the main sheet's pages offscreen to PNG files
// for the README (`stampa-screenshots OUT_DIR`), in the working directory's
// state (Stampa.ini, logos picked by the caller's arguments).
#include <QApplication>
#include <QDir>
#include <QTabWidget>
#include <cstdio>

#include "app/main_sheet.h"
#include "app/program_state.h"
#include "app/qt_operator.h"
#include "app/runtime_libraries.h"

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: stampa-screenshots OUT_DIR\n");
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    stampa::StartDirectory = QDir::currentPath().toStdString();
    stampa::BindRuntimeLibraries();
    stampa::CMainSheet sheet;
    sheet.show();
    const char* names[] = {"config", "select", "preview", "download", "print"};
    for (int i = 0; i < sheet.Tabs()->count() && i < 5; ++i) {
        sheet.Tabs()->setCurrentIndex(i);
        QApplication::processEvents();
        sheet.grab().save(out + "/page-" + names[i] + ".png");
    }
    stampa::UnbindRuntimeLibraries();
    return 0;
}
