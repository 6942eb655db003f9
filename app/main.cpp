// Stampa: loads logos into ESC/POS receipt printers.
#include <QApplication>

#include "app/qt_language.h"
#include "app/qt_operator.h"
#include "app/stampa_app.h"
#include "workflows/startup.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    stampa::ChooseLanguageAtStart();
    stampa::InstallQtTranslations(application);
    stampa::QtOperator messageBoxes;
    stampa::SetOperator(&messageBoxes);
    stampa::CStampaApp app;
    const int status = app.Run(&messageBoxes);
    stampa::SetOperator(nullptr);
    return status;
}
