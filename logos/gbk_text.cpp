#include "logos/gbk_text.h"

#include <iconv.h>

#include <cerrno>

namespace stampa {
namespace {

// Converts with iconv, replacing every byte it cannot take by `replacement`.
std::string Convert(std::string_view in, const char* to, const char* from,
                    std::string_view replacement) {
    const iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        return std::string(in);  // no converter on this system: keep the bytes as they are
    }
    std::string out;
    out.reserve(in.size() * 2 + 4);
    char* inPtr = const_cast<char*>(in.data());
    std::size_t inLeft = in.size();
    char buffer[256];
    while (inLeft > 0) {
        char* outPtr = buffer;
        std::size_t outLeft = sizeof buffer;
        const std::size_t rc = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
        out.append(buffer, static_cast<std::size_t>(outPtr - buffer));
        if (rc == static_cast<std::size_t>(-1) && (errno == EILSEQ || errno == EINVAL)) {
            out.append(replacement);  // skip the bad byte and go on
            ++inPtr;
            --inLeft;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
        } else if (rc == static_cast<std::size_t>(-1) && errno != E2BIG) {
            break;
        }
    }
    iconv_close(cd);
    return out;
}

// Byte length of the GB18030 character that starts at gb[i].
std::size_t CharLength(std::string_view gb, std::size_t i) {
    const auto lead = static_cast<unsigned char>(gb[i]);
    if (lead < 0x80 || i + 1 >= gb.size()) {
        return 1;
    }
    const auto second = static_cast<unsigned char>(gb[i + 1]);
    return (second >= 0x30 && second <= 0x39) ? 4 : 2;
}

}  // namespace

std::string Utf8ToGb18030(std::string_view utf8) {
    return Convert(utf8, "GB18030", "UTF-8", "?");
}

std::string Gb18030ToUtf8(std::string_view gb) {
    return Convert(gb, "UTF-8", "GB18030", "\xEF\xBF\xBD");
}

std::size_t Gb18030FitLength(std::string_view gb, std::size_t maxBytes) {
    std::size_t end = 0;
    while (end < gb.size()) {
        const std::size_t next = end + CharLength(gb, end);
        if (next > maxBytes || next > gb.size()) {
            break;
        }
        end = next;
    }
    return end;
}

}  // namespace stampa
