#include "common/printer_profiles.h"

#include <cstdlib>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "common/language.h"
#include "common/messages.h"
#include "common/text_format.h"

namespace stampa {

// data/printer-profiles.json, as the build embeds it.
extern const char* const kBuiltInProfilesText;

namespace {

using Json = nlohmann::json;

template <typename T>
std::optional<T> Known(const Json& profile, const char* key) {
    const auto it = profile.find(key);
    if (it == profile.end() || it->is_null())
        return std::nullopt;
    if constexpr (std::is_same_v<T, bool>) {
        return it->is_boolean() ? std::optional<bool>(it->get<bool>()) : std::nullopt;
    } else {
        return it->is_number() ? std::optional<T>(it->get<T>()) : std::nullopt;
    }
}

std::string TextOf(const Json& profile, const char* key) {
    const auto it = profile.find(key);
    return it != profile.end() && it->is_string() ? it->get<std::string>() : std::string();
}

}  // namespace

const PrinterProfile* ProfileDatabase::Find(const std::string& id) const {
    for (const PrinterProfile& p : profiles) {
        if (p.id == id)
            return &p;
    }
    return nullptr;
}

ProfileDatabase ParseProfiles(const std::string& text) {
    ProfileDatabase database;
    const Json document = Json::parse(text, nullptr, false);
    if (document.is_discarded() || !document.is_object() || !document.contains("profiles") ||
        !document["profiles"].is_array()) {
        database.error = Localize(msg::kProfilesMalformed);
        return database;
    }
    for (const Json& p : document["profiles"]) {
        if (!p.is_object() || TextOf(p, "id").empty())
            continue;  // nothing to name it by
        PrinterProfile profile;
        profile.id = TextOf(p, "id");
        profile.vendor = TextOf(p, "vendor");
        profile.name = TextOf(p, "name");
        profile.widthMm = Known<double>(p, "widthMm");
        profile.widthDots = Known<int>(p, "widthDots");
        profile.dpi = Known<int>(p, "dpi");
        profile.graphics = Known<bool>(p, "graphics");
        profile.bitImageRaster = Known<bool>(p, "bitImageRaster");
        profile.bitImageColumn = Known<bool>(p, "bitImageColumn");
        if (profile.widthDots && *profile.widthDots < 1)
            profile.widthDots.reset();  // no paper is that narrow: not known
        database.profiles.push_back(std::move(profile));
    }
    return database;
}

ProfileDatabase LoadProfiles(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    if (!in || !(text << in.rdbuf())) {
        ProfileDatabase database;
        database.error = FormatText(msg::kProfilesNotRead, path.c_str());
        return database;
    }
    ProfileDatabase database = ParseProfiles(text.str());
    if (!database.error.empty())
        database.error = FormatText(msg::kProfilesNotRead, path.c_str()) + ": " + database.error;
    return database;
}

ProfileDatabase BuiltInProfiles() {
    return ParseProfiles(kBuiltInProfilesText);  // a few milliseconds; no copy kept
}

ProfileDatabase ProgramProfiles() {
    const char* file = std::getenv("STAMPA_PROFILES");
    return file != nullptr && *file != '\0' ? LoadProfiles(file) : BuiltInProfiles();
}

}  // namespace stampa
