// The system's words for an errno value, as the links' failures show them.
#pragma once

#include <string>

namespace stampa {

std::string ReasonText(int errnoValue);

}  // namespace stampa
