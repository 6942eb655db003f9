#include "app/qt_language.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include "common/language.h"

namespace stampa {

bool InstallQtTranslations(QCoreApplication& application) {
    if (CurrentLanguage() != Language::Chinese) {
        return true;  // Qt's own texts are English
    }
    auto* translator = new QTranslator(&application);
    if (!translator->load(QStringLiteral("qtbase_zh_CN"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

}  // namespace stampa
