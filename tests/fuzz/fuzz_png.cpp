// The PNG reader on any bytes. Each chunk's CRC is made right first, so that
// the runs reach the decoder behind the CRC check (which the unit tests
// cover) instead of stopping there.
#include <zlib.h>

#include "fuzz_picture.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<unsigned char> png(data, data + size);
    for (std::size_t at = 8; at + 12 <= png.size();) {
        const std::size_t length =
            std::size_t{png[at]} << 24 | png[at + 1] << 16 | png[at + 2] << 8 | png[at + 3];
        if (length > png.size() - at - 12)
            break;
        const auto crc =
            static_cast<std::uint32_t>(crc32(0, &png[at + 4], static_cast<unsigned>(length + 4)));
        for (int i = 0; i < 4; ++i)
            png[at + 8 + length + i] = static_cast<unsigned char>(crc >> (24 - 8 * i));
        at += 12 + length;
    }
    using namespace std::string_view_literals;
    return stampa::fuzz::DecodeAs("\x89PNG\r\n\x1A\n"sv, png.data(), png.size());
}
