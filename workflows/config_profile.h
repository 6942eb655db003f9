// Reading Stampa.ini whole, as sections of keys: inih on Linux, the private
// profile functions on Windows. Section and key names compare without case,
// and the first occurrence of a key counts, as the private profile functions
// have it.
#pragma once

#include <algorithm>
#include <cctype>
#include <map>
#include <string>

namespace stampa {

struct NoCase {
    bool operator()(const std::string& a, const std::string& b) const {
        return std::lexicographical_compare(
            a.begin(), a.end(), b.begin(), b.end(),
            [](unsigned char x, unsigned char y) { return std::tolower(x) < std::tolower(y); });
    }
};
using Section = std::map<std::string, std::string, NoCase>;
using Profile = std::map<std::string, Section, NoCase>;

// The file's sections; empty when the file is missing or unreadable.
Profile ReadProfile(const std::string& path);

}  // namespace stampa
