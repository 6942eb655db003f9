#include <cstring>

#include "link/reason_text.h"

namespace stampa {

std::string ReasonText(int errnoValue) {
    return std::strerror(errnoValue);
}

}  // namespace stampa
