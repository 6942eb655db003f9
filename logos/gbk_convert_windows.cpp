// UTF-8 <-> GB18030 through Windows' code page 54936. The functions convert
// character by character so that a byte they cannot take is replaced alone,
// exactly as the Linux converter does it.
#include <windows.h>

#include "logos/gbk_text.h"

namespace stampa {
namespace {

// GB18030; a system without its table (Wine 8) falls back to GBK's code page
// 936, which writes every GBK character with the same bytes.
UINT Gb18030CodePage() {
    static const UINT page = IsValidCodePage(54936) ? 54936 : 936;
    return page;
}

// Byte length of the UTF-8 character that starts at s[i] (1 for a stray byte).
std::size_t Utf8Length(std::string_view s, std::size_t i) {
    const auto lead = static_cast<unsigned char>(s[i]);
    const std::size_t n = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    return i + n <= s.size() ? n : 1;
}

// Byte length of the GB18030 character that starts at s[i].
std::size_t GbLength(std::string_view s, std::size_t i) {
    const auto lead = static_cast<unsigned char>(s[i]);
    if (lead < 0x80 || i + 1 >= s.size()) {
        return 1;
    }
    const auto second = static_cast<unsigned char>(s[i + 1]);
    const std::size_t n = (second >= 0x30 && second <= 0x39) ? 4 : 2;
    return i + n <= s.size() ? n : 1;
}

// One character from code page `from` to `to` through UTF-16; false when it
// is not a valid character of `from` or has no form in `to`.
bool ConvertOne(std::string_view piece, UINT from, UINT to, std::string& out) {
    wchar_t wide[4];
    const int w = MultiByteToWideChar(from, MB_ERR_INVALID_CHARS, piece.data(),
                                      static_cast<int>(piece.size()), wide, 4);
    if (w <= 0) {
        return false;
    }
    // GB18030 and UTF-8 both write every Unicode character, so nothing is lost;
    // for these code pages the function takes no default-character arguments.
    char bytes[16];
    const int n = WideCharToMultiByte(to, 0, wide, w, bytes, sizeof bytes, nullptr, nullptr);
    if (n <= 0) {
        return false;
    }
    out.append(bytes, static_cast<std::size_t>(n));
    return true;
}

template <typename LengthFn>
std::string Convert(std::string_view in, UINT from, UINT to, LengthFn length,
                    std::string_view replacement) {
    std::string out;
    out.reserve(in.size() * 2 + 4);
    std::size_t i = 0;
    while (i < in.size()) {
        const auto lead = static_cast<unsigned char>(in[i]);
        if (lead < 0x80) {
            out.push_back(in[i++]);  // ASCII is the same in both
            continue;
        }
        const std::size_t n = length(in, i);
        if (n > 1 && ConvertOne(in.substr(i, n), from, to, out)) {
            i += n;
        } else {
            out.append(replacement);  // skip the bad byte and go on
            ++i;
        }
    }
    return out;
}

}  // namespace

std::string Utf8ToGb18030(std::string_view utf8) {
    return Convert(utf8, CP_UTF8, Gb18030CodePage(), Utf8Length, "?");
}

std::string Gb18030ToUtf8(std::string_view gb) {
    return Convert(gb, Gb18030CodePage(), CP_UTF8, GbLength, "\xEF\xBF\xBD");
}

}  // namespace stampa
