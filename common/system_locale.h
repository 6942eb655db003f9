// The user's language as the system names it where no environment variable
// says it: empty on Linux (the locale variables are the system's way), the
// user's locale ("en-US", "zh-CN") on Windows.
#pragma once

#include <string>

namespace stampa {

std::string SystemLocaleName();

}  // namespace stampa
