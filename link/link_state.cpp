#include "link/link_state.h"

namespace stampa {

std::atomic<PortHandleValue> PortHandle{kNoHandle};
std::atomic<std::int32_t> PortKind{kSerialLink};

void ResetLinkState() {
    PortHandle = kNoHandle;
    PortKind = kSerialLink;
}

}  // namespace stampa
