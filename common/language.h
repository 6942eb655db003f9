// The language of every text the operator sees: Chinese (the program's own
// texts, the default) or English. What is stored or sent never depends on it.
#pragma once

#include <string>

namespace stampa {

enum class Language { Chinese, English };

Language CurrentLanguage();
void SetLanguage(Language language);

// The first that says: `stampaLang` ("zh" or "en"), then `configured` (Stampa.ini's
// [Common] Language, "zh" or "en"), then the locale (LC_ALL, LC_MESSAGES, LANG
// in that order; the first set one counts): a value starting with "en" is
// English, anything else (C and POSIX included) Chinese.
Language ChooseLanguage(const char* stampaLang, const std::string& configured, const char* lcAll,
                        const char* lcMessages, const char* lang);

// The same from this process's environment; without LANG, the system's own
// choice where it has one (Windows: the user's locale).
Language LanguageFromEnvironment(const std::string& configured);

// A catalogue text (common/messages.h) in the current language; any other text
// unchanged.
const char* Localize(const char* text);
std::string Localize(const std::string& text);

// The catalogue format to fill for `count` things: English's singular for
// one, where the catalogue has it; otherwise `format` itself. FormatText then
// gives it in the current language.
const char* CountedText(const char* format, long long count);

}  // namespace stampa
