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

}  // namespace

std::string Utf8ToGb18030(std::string_view utf8) {
    return Convert(utf8, "GB18030", "UTF-8", "?");
}

std::string Gb18030ToUtf8(std::string_view gb) {
    return Convert(gb, "UTF-8", "GB18030", "\xEF\xBF\xBD");
}

}  // namespace stampa
