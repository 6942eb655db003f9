#include "link/parallel/service_control.h"

namespace stampa {

// Linux loads the port I/O library directly: no service steps.
IServiceControl* SystemServiceControl() {
    return nullptr;
}

bool PlatformIsNtFamily() {
    return false;
}

}  // namespace stampa
