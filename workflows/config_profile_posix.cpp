#include <ini.h>

#include "workflows/config_profile.h"

namespace stampa {
namespace {

int Handler(void* user, const char* section, const char* name, const char* value) {
    auto& profile = *static_cast<Profile*>(user);
    profile[section].emplace(name, value);  // the first occurrence of a key counts
    return 1;
}

}  // namespace

Profile ReadProfile(const std::string& path) {
    Profile profile;
    ini_parse(path.c_str(), Handler, &profile);
    return profile;
}

}  // namespace stampa
