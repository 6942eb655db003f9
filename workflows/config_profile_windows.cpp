#include <windows.h>

#include <vector>

#include "workflows/config_profile.h"

namespace stampa {
namespace {

// The zero-separated list a profile function fills, growing the buffer until
// the list fits (the functions cut it two bytes short of the size when not).
template <typename Fill>
std::vector<std::string> ZeroSeparated(Fill fill) {
    for (DWORD size = 4096;; size *= 4) {
        std::vector<char> buffer(size);
        const DWORD used = fill(buffer.data(), size);
        if (used + 2 < size || size >= (1u << 24)) {
            std::vector<std::string> items;
            for (const char* p = buffer.data(); p < buffer.data() + used && *p != '\0';
                 p += std::char_traits<char>::length(p) + 1)
                items.emplace_back(p);
            return items;
        }
    }
}

std::string Trimmed(const std::string& s) {
    const auto first = s.find_first_not_of(" \t");
    const auto last = s.find_last_not_of(" \t");
    return first == std::string::npos ? std::string() : s.substr(first, last - first + 1);
}

}  // namespace

Profile ReadProfile(const std::string& path) {
    Profile profile;
    // Without a folder the profile functions would look in the Windows folder.
    if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES)
        return profile;
    const auto sections = ZeroSeparated([&](char* buffer, DWORD size) {
        return GetPrivateProfileSectionNamesA(buffer, size, path.c_str());
    });
    for (const std::string& section : sections) {
        const auto entries = ZeroSeparated([&](char* buffer, DWORD size) {
            return GetPrivateProfileSectionA(section.c_str(), buffer, size, path.c_str());
        });
        for (const std::string& entry : entries) {
            const auto equals = entry.find('=');
            if (equals != std::string::npos)
                profile[section].emplace(Trimmed(entry.substr(0, equals)),
                                         Trimmed(entry.substr(equals + 1)));
        }
    }
    return profile;
}

}  // namespace stampa
