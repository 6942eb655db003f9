#include "workflows/config_file.h"

#include "link/network/network_link.h"
#include "workflows/config_profile.h"

#include <cstdlib>
#include <filesystem>
#include <map>

namespace stampa {
namespace {

std::string Text(const Profile& p, const char* section, const char* key, const char* fallback) {
    const auto s = p.find(section);
    if (s == p.end())
        return fallback;
    const auto k = s->second.find(key);
    if (k == s->second.end())
        return fallback;
    std::string v = k->second;
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front()) {
        v = v.substr(1, v.size() - 2);  // surrounding quotes are not part of the value
    }
    return v.substr(0, 99);
}

int Number(const Profile& p, const char* section, const char* key, int fallback) {
    const auto s = p.find(section);
    if (s == p.end() || s->second.find(key) == s->second.end())
        return fallback;
    return static_cast<int>(std::strtol(s->second.at(key).c_str(), nullptr, 10));
}

}  // namespace

int Configuration::DefaultModelIndex() const {
    const int count = static_cast<int>(models.size());
    return (defaultNumber >= 1 && defaultNumber <= count) ? defaultNumber - 1 : 0;
}

std::string Configuration::DefaultModel() const {
    return models.empty() ? std::string()
                          : models[static_cast<std::size_t>(DefaultModelIndex())].name;
}

std::string ConfigurationPath(const std::string& folder) {
    return folder + "/" + kConfigFileName;
}

Configuration ReadWorkingConfiguration() {
    std::error_code error;
    return ReadConfiguration(ConfigurationPath(std::filesystem::current_path(error).string()));
}

std::string ModelOrDefault(const std::string& model) {
    return model.empty() ? ReadWorkingConfiguration().DefaultModel() : model;
}

Configuration ReadConfiguration(const std::string& path) {
    const Profile profile = ReadProfile(path);  // empty when the file is missing
    Configuration c;
    c.number = Number(profile, "Common", "Number", 1);
    c.defaultNumber = Number(profile, "Common", "DefaultNumber", 1);
    c.baseDriverName = Text(profile, "Common", "BaseDriverName", "RP-820");
    for (int i = 1; i <= c.number && i <= kMaxModels; ++i) {
        const std::string section = "Pos" + std::to_string(i);
        c.models.push_back({Text(profile, section.c_str(), "Name", "RP-820"),
                            Number(profile, section.c_str(), "Width", 1),
                            Text(profile, section.c_str(), "Profile", "")});
    }
    c.networkHost = Text(profile, "Network", "Host", "");
    c.networkPort = Number(profile, "Network", "Port", kDefaultNetworkPort);
    c.language = Text(profile, "Common", "Language", "");
    return c;
}

}  // namespace stampa
