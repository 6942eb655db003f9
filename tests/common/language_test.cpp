// The message catalogue in both languages, and the choice of language.
#include "common/language.h"

#include <gtest/gtest.h>

#include <regex>

#include "common/messages.h"
#include "common/text_format.h"

namespace stampa {
namespace {

bool HasCjk(const std::string& text) {
    // UTF-8 lead bytes of U+2E80..U+9FFF (E2 BA .. E9) and U+FF00..U+FFEF (EF BC .. EF BF).
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        const auto next = i + 1 < text.size() ? static_cast<unsigned char>(text[i + 1]) : 0;
        if ((c >= 0xE3 && c <= 0xE9) || (c == 0xE2 && next >= 0xBA) || (c == 0xEF && next >= 0xBC))
            return true;
    }
    return false;
}

std::vector<std::string> Placeholders(const std::string& format) {
    static const std::regex conversion(R"(%[-+ #0]*\d*(?:\.\d+)?(?:ll|l|z)?[diouxXfs%])");
    std::vector<std::string> found;
    for (std::sregex_iterator it(format.begin(), format.end(), conversion), end; it != end; ++it)
        found.push_back(it->str());
    return found;
}

TEST(Catalogue, EveryTextInBothLanguagesWithTheSamePlaceholders) {
    for (const msg::CatalogueText& text : msg::kCatalogue) {
        SCOPED_TRACE(text.name);
        ASSERT_NE(text.chinese, nullptr);
        if (text.english == nullptr) {
            EXPECT_FALSE(HasCjk(text.chinese)) << "a text only in Chinese";
            continue;
        }
        const std::string english = text.english;
        EXPECT_FALSE(HasCjk(english)) << english;
        EXPECT_EQ(Placeholders(text.chinese), Placeholders(english));
        EXPECT_EQ(english.find("  "), std::string::npos) << "no spaced-out English";
        EXPECT_TRUE(english.size() <= 2 || english.back() != ' ') << "no trailing space";
    }
}

TEST(Catalogue, LocalizeFollowsTheLanguage) {
    SetLanguage(Language::English);
    EXPECT_STREQ(Localize(msg::kCommunicationFailed), "Communication failed, please try again.");
    EXPECT_EQ(FormatText(msg::kEstimateFormat, 15), "About 15 s");
    EXPECT_STREQ(Localize("photo.bmp"), "photo.bmp") << "not a catalogue text";
    SetLanguage(Language::Chinese);
    EXPECT_STREQ(Localize(msg::kCommunicationFailed), "通讯失败，请重试!");
    EXPECT_TRUE(HasCjk(msg::kCommunicationFailed)) << "the check finds Chinese";
}

TEST(Catalogue, EnglishCountsOneLogoInTheSingular) {
    for (const msg::SingularText& text : msg::kSingulars) {
        SCOPED_TRACE(text.plural);
        SetLanguage(Language::English);
        EXPECT_EQ(Placeholders(text.english), Placeholders(Localize(text.plural)));
        EXPECT_STREQ(CountedText(text.plural, 2), text.plural);
        EXPECT_STREQ(CountedText(text.plural, 1), text.english);
    }
    EXPECT_EQ(FormatText(CountedText(msg::kPrintedFormat, 1), 1), "Printed 1 logo");
    EXPECT_EQ(FormatText(CountedText(msg::kPrintedFormat, 0), 0), "Printed 0 logos");
    EXPECT_EQ(FormatText(CountedText(msg::kCliNvList, 1), "RP-820", 1),
              "RP-820: 1 logo in NV graphics");
    SetLanguage(Language::Chinese);
    EXPECT_EQ(FormatText(CountedText(msg::kPrintedFormat, 1), 1), "已打印 1 个位图");
    EXPECT_EQ(FormatText(CountedText(msg::kCliNvList, 1), "RP-820", 1),
              "RP-820: 1 logo in NV graphics")
        << "stampa-cli's lines are English in both languages";
}

struct ChoiceCase {
    const char* stampaLang;
    const char* configured;
    const char* lcAll;
    const char* lcMessages;
    const char* lang;
    Language expected;
};

TEST(Catalogue, LanguageChoiceFirstMatchWins) {
    const Language en = Language::English, zh = Language::Chinese;
    const ChoiceCase cases[] = {
        {nullptr, "", nullptr, nullptr, nullptr, zh},
        {nullptr, "", nullptr, nullptr, "C.UTF-8", zh},
        {nullptr, "", nullptr, nullptr, "POSIX", zh},
        {nullptr, "", nullptr, nullptr, "en_US.UTF-8", en},
        {nullptr, "", nullptr, "en_GB.UTF-8", "zh_CN.UTF-8", en},
        {nullptr, "", "zh_CN.UTF-8", "en_GB.UTF-8", "en_US.UTF-8", zh},
        {nullptr, "", "", "", "en", en},  // empty values are not set
        {nullptr, "en", nullptr, nullptr, "C", en},
        {nullptr, "zh", nullptr, nullptr, "en_US.UTF-8", zh},
        {nullptr, "fr", nullptr, nullptr, "en_US.UTF-8", en},  // not a choice: the locale
        {"zh", "en", nullptr, nullptr, "en_US.UTF-8", zh},
        {"en", "zh", nullptr, nullptr, "C", en},
        {"EN", "", nullptr, nullptr, "C", zh},
    };
    for (const ChoiceCase& c : cases) {
        SCOPED_TRACE(std::string(c.stampaLang ? c.stampaLang : "-") + " " + c.configured + " " +
                     (c.lang ? c.lang : "-"));
        EXPECT_EQ(ChooseLanguage(c.stampaLang, c.configured, c.lcAll, c.lcMessages, c.lang),
                  c.expected);
    }
}

}  // namespace
}  // namespace stampa
