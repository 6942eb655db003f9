#include "common/system_locale.h"

namespace stampa {

std::string SystemLocaleName() {
    return {};
}

}  // namespace stampa
