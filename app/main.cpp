// Stampa: loads logos into ESC/POS receipt printers.
#include <QApplication>
#include <QIcon>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "app/qt_language.h"
#include "app/qt_operator.h"
#include "app/stampa_app.h"
#include "common/language.h"
#include "common/messages.h"
#include "workflows/start_options.h"
#include "workflows/startup.h"

namespace {

// --folder, --help and --version, before any window: nullopt to go on
// starting, else the exit status.
std::optional<int> HandleStartOptions(int argc, char** argv) {
    stampa::ChooseLanguageAtStart();  // for the refusals, from where it was started
    const stampa::StartOptions options =
        stampa::ParseStartOptions(std::vector<std::string>(argv + 1, argv + argc));
    std::string error = options.error;
    if (error.empty() && !options.folder.empty() &&
        stampa::EnterWorkingFolder(options.folder, error))
        stampa::ChooseLanguageAtStart();  // the working folder's Stampa.ini may name another
    if (!error.empty()) {
        std::fprintf(stderr, "stampa: %s\n%s\n", error.c_str(),
                     stampa::Localize(stampa::msg::kStartTryHelp));
        return 2;
    }
    if (options.help) {
        std::fputs(stampa::StartHelpText().c_str(), stdout);
        return 0;
    }
    if (options.version) {
        std::printf("stampa %s\n", STAMPA_VERSION_TEXT);
        return 0;
    }
    return std::nullopt;
}

}  // namespace

int main(int argc, char** argv) {
    if (const std::optional<int> status = HandleStartOptions(argc, argv))
        return *status;
    QApplication application(argc, argv);
    // Names the user's settings (~/.config/Stampa/Stampa.conf): the last choice of printer.
    QCoreApplication::setOrganizationName(QStringLiteral("Stampa"));
    QCoreApplication::setApplicationName(QStringLiteral("Stampa"));
    // The installed icon theme's (the package's hicolor icons); none in a build folder.
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("stampa")));
    // Ties the window to the menu entry (its icon and name on Wayland docks).
    QGuiApplication::setDesktopFileName(QStringLiteral("org.stampa.Stampa"));
    stampa::InstallQtTranslations(application);
    stampa::QtOperator messageBoxes;
    stampa::SetOperator(&messageBoxes);
    stampa::CStampaApp app;
    const int status = app.Run(&messageBoxes);
    stampa::SetOperator(nullptr);
    return status;
}
