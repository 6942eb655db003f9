// Fills one of the catalogue's printf formats (common/messages.h), in the
// current language.
#pragma once

#include <string>

namespace stampa {

std::string FormatText(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace stampa
