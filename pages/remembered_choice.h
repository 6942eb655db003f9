// What the operator chose on the configuration page at the last OK — model,
// link kind and that link's settings — kept in Qt's settings in the user's
// configuration folder (not Stampa.ini) and preselected at the next start.
// Nothing connects by itself. Remembering is on once the program has named
// itself (QCoreApplication's organisation), so tests keep no choices unless
// they ask to.
#pragma once

#include <QString>
#include <optional>

namespace stampa {

struct RememberedChoice {
    QString model;
    int linkButton = -1;  // ButtonOf(LinkKind)
    QString serialPort, baud, dataBits, stopBits, parity, flow;
    QString parallelPort;
    QString printerName;
    int usbDevice = -1;
    QString networkHost, networkPort;
};

std::optional<RememberedChoice> LoadRememberedChoice();
void SaveRememberedChoice(const RememberedChoice& choice);

}  // namespace stampa
