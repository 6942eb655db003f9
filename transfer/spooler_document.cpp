#include "transfer/spooler_document.h"

namespace stampa {

bool SendInSpoolerDocument(PortHandleValue handle, const DocInfo& info,
                           const std::function<bool()>& send) {
    const bool driver = IsDriverConnection(handle);
    if (driver && PortStartDocument(handle, info) == 0) {
        PortClose(handle);
        return false;
    }
    const bool sent = send();
    if (driver && PortEndDocument(handle) == 0) {
        PortClose(handle);
    }
    return sent;
}

}  // namespace stampa
