// Qt's own texts (the file dialog, the buttons of message boxes) in the
// program's language, from the translations Qt ships (Debian:
// qt6-translations-l10n): Chinese when the program's texts are.
#pragma once

class QCoreApplication;

namespace stampa {

// Installs Qt's Chinese translations into `application` when the chosen
// language is Chinese. False when they are not installed (Qt's texts then
// stay English).
bool InstallQtTranslations(QCoreApplication& application);

}  // namespace stampa
