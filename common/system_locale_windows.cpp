#include <windows.h>

#include "common/system_locale.h"

namespace stampa {

std::string SystemLocaleName() {
    wchar_t name[LOCALE_NAME_MAX_LENGTH];
    const int n = GetUserDefaultLocaleName(name, LOCALE_NAME_MAX_LENGTH);
    std::string ascii;
    for (int i = 0; i + 1 < n; ++i) {
        ascii.push_back(static_cast<char>(name[i] < 0x80 ? name[i] : '?'));  // names are ASCII
    }
    return ascii;
}

}  // namespace stampa
