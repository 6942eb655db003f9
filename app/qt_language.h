// Qt's own texts (the file dialog, the buttons of message boxes) in the
// program's language, from the translations Qt ships (Debian:
// qt6-translations-l10n). The program's texts are Chinese, so Qt's are too.
#pragma once

class QCoreApplication;

namespace stampa {

// Installs Qt's Chinese translations into `application`. False when they are
// not installed (Qt's texts then stay English).
bool InstallQtTranslations(QCoreApplication& application);

}  // namespace stampa
