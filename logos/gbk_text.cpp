#include "logos/gbk_text.h"

namespace stampa {
namespace {

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
