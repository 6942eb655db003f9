// Stampa: loads logos into ESC/POS receipt printers.
#include <QApplication>

#include "app/qt_language.h"
#include "app/qt_operator.h"
#include "app/stampa_app.h"
#include "workflows/startup.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    // Names the user's settings (~/.config/Stampa/Stampa.conf): the last choice of printer.
    QCoreApplication::setOrganizationName(QStringLiteral("Stampa"));
    QCoreApplication::setApplicationName(QStringLiteral("Stampa"));
    stampa::ChooseLanguageAtStart();
    stampa::InstallQtTranslations(application);
    stampa::QtOperator messageBoxes;
    stampa::SetOperator(&messageBoxes);
    stampa::CStampaApp app;
    const int status = app.Run(&messageBoxes);
    stampa::SetOperator(nullptr);
    return status;
}
