// Text in the printer maker's Chinese code page, as the stored-logo files keep it.
//
// Inside the program text is UTF-8. On disk it is GB18030, which writes every
// GBK character with the same bytes as GBK (so files read by older tools stay
// readable) and can still write every other character without loss.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace stampa {

// UTF-8 -> GB18030. A byte that is not valid UTF-8 becomes '?'.
std::string Utf8ToGb18030(std::string_view utf8);

// GB18030 (and so GBK) -> UTF-8. A byte sequence that is not valid becomes U+FFFD.
std::string Gb18030ToUtf8(std::string_view gb);

// The length of the longest prefix of `gb` that is at most maxBytes long and
// ends on a character boundary, so a cut never splits a character.
std::size_t Gb18030FitLength(std::string_view gb, std::size_t maxBytes);

}  // namespace stampa
