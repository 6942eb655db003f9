#include "logos/gbk_text.h"

#include <gtest/gtest.h>

namespace stampa {
namespace {

// Both platforms' converters (iconv, Windows' code pages) give the same text,
// replacing each byte they cannot take on its own.
TEST(GbkText, ConvertsAndReplacesBadBytesOneByOne) {
    const struct {
        const char* what;
        std::string utf8, gb;
    } toGb[] = {
        {"ASCII", "logo_1.bmp", "logo_1.bmp"},
        {"GBK characters", "\xE4\xB8\xAD\xE6\x96\x87", "\xD6\xD0\xCE\xC4"},
        {"a stray byte",
         "a\xFF"
         "b",
         "a?b"},
        {"a character cut short", "x\xE4\xB8", "x??"},
    };
    for (const auto& c : toGb) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(Utf8ToGb18030(c.utf8), c.gb);
    }
    const std::string bad = "\xEF\xBF\xBD";
    const struct {
        const char* what;
        std::string gb, utf8;
    } toUtf8[] = {
        {"GBK characters", "\xD6\xD0\xCE\xC4.bmp", "\xE4\xB8\xAD\xE6\x96\x87.bmp"},
        {"a lone lead byte at the end", "\xD6\xD0\x81", "\xE4\xB8\xAD" + bad},
        {"0xFF",
         "a\xFF"
         "b",
         "a" + bad + "b"},
        {"a four-byte form cut short", "\x81\x30", bad + "0"},
    };
    for (const auto& c : toUtf8) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(Gb18030ToUtf8(c.gb), c.utf8);
    }
}

}  // namespace
}  // namespace stampa
