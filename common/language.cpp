#include "common/language.h"

#include <atomic>
#include <cstdlib>
#include <string_view>
#include <unordered_map>

#include "common/messages.h"
#include "common/system_locale.h"

namespace stampa {
namespace {

std::atomic<Language> current{Language::Chinese};

// "zh" or "en"; nothing for another value.
bool Named(const char* value, Language& language) {
    const std::string_view v = value != nullptr ? value : "";
    if (v == "zh" || v == "en") {
        language = v == "en" ? Language::English : Language::Chinese;
        return true;
    }
    return false;
}

const std::unordered_map<std::string_view, const char*>& EnglishTexts() {
    static const auto* table = [] {
        auto* map = new std::unordered_map<std::string_view, const char*>;
        for (const msg::CatalogueText& text : msg::kCatalogue) {
            if (text.english != nullptr)
                map->emplace(text.chinese, text.english);
        }
        return map;
    }();
    return *table;
}

}  // namespace

Language CurrentLanguage() {
    return current;
}

void SetLanguage(Language language) {
    current = language;
}

Language ChooseLanguage(const char* stampaLang, const std::string& configured, const char* lcAll,
                        const char* lcMessages, const char* lang) {
    Language chosen = Language::Chinese;
    if (Named(stampaLang, chosen) || Named(configured.c_str(), chosen)) {
        return chosen;
    }
    for (const char* locale : {lcAll, lcMessages, lang}) {
        if (locale != nullptr && *locale != '\0') {
            return std::string_view(locale).substr(0, 2) == "en" ? Language::English
                                                                 : Language::Chinese;
        }
    }
    return Language::Chinese;
}

Language LanguageFromEnvironment(const std::string& configured) {
    const char* lang = std::getenv("LANG");
    const std::string system = lang == nullptr ? SystemLocaleName() : std::string();
    return ChooseLanguage(std::getenv("STAMPA_LANG"), configured, std::getenv("LC_ALL"),
                          std::getenv("LC_MESSAGES"), lang != nullptr ? lang : system.c_str());
}

const char* Localize(const char* text) {
    if (text == nullptr || current == Language::Chinese) {
        return text;
    }
    const auto& table = EnglishTexts();
    const auto it = table.find(text);
    return it == table.end() ? text : it->second;
}

std::string Localize(const std::string& text) {
    return Localize(text.c_str());
}

const char* CountedText(const char* format, long long count) {
    if (count != 1 || format == nullptr) {
        return format;
    }
    // A text with its own English reads in Chinese while Chinese is chosen;
    // stampa-cli's lines are English in both languages.
    const bool translated = EnglishTexts().count(format) > 0;
    if (translated && current == Language::Chinese) {
        return format;
    }
    for (const msg::SingularText& text : msg::kSingulars) {
        if (std::string_view(text.plural) == format)
            return text.english;
    }
    return format;
}

}  // namespace stampa
