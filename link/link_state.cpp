#include "link/link_state.h"

namespace stampa {

DocInfo DefaultPrintDocInfo() {
    return DocInfo{"My Document", "", "RAW"};
}

}  // namespace stampa
