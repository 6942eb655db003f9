#include "link/link_state.h"

namespace stampa {

std::atomic<PortHandleValue> PortHandle{kNoHandle};
std::atomic<std::int32_t> PortKind{kSerialLink};
std::atomic<bool> PortConfigured{false};
std::string PortName;
std::atomic<std::int32_t> PortBaudRate{0};
DocInfo PrintDocInfo = DefaultPrintDocInfo();

DocInfo DefaultPrintDocInfo() {
    return DocInfo{"My Document", "", "RAW"};
}

void ResetLinkState() {
    PortHandle = kNoHandle;
    PortKind = kSerialLink;
    PortConfigured = false;
    PortName.clear();
    PortBaudRate = 0;
    PrintDocInfo = DefaultPrintDocInfo();
}

}  // namespace stampa
