// The conversion of any bytes, with every method and any contrast and
// brightness (taken from the input's first bytes).
#include <cstdlib>
#include <cstring>

#include "fuzz_support.h"
#include "pixmelt/pixmelt.h"

namespace {

// An input may claim a picture of up to 256 MiB; the fuzzer explores the
// conversion's paths, not its limits (the unit tests hold those), so a claim
// past 65536 pixels (256 x 256) is not converted and a thousand runs take
// about a second. (At 4 megapixels the runs that convert one take most of it.)
constexpr long long kMostPixels = 1LL << 16;

bool ClaimsTooMuch(const std::uint8_t* bmp, std::size_t size) {
    if (size < 26)
        return false;
    const auto field = [bmp](std::size_t at) {
        return static_cast<std::int32_t>(bmp[at] | bmp[at + 1] << 8 | bmp[at + 2] << 16 |
                                         static_cast<std::uint32_t>(bmp[at + 3]) << 24);
    };
    const long long width = field(18), height = field(22);
    return std::llabs(width) * std::llabs(height) > kMostPixels;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 3 || ClaimsTooMuch(data + 3, size - 3))
        return 0;
    const int method = static_cast<int>(data[0] % 6) - 1;  // -1 .. 4
    const int contrast = static_cast<int>(static_cast<std::int8_t>(data[1])) * 2;
    const int brightness = static_cast<int>(static_cast<std::int8_t>(data[2])) * 2;
    const std::string path = stampa::fuzz::WriteInput(data + 3, size - 3);
    char output[PIXMELT_OUTPUT_PATH_SIZE];
    std::memset(output, 0, sizeof output);
    pixmelt(path.c_str(), output, method, contrast, brightness);
    if (output[0] != '\0' && std::strcmp(output, path.c_str()) != 0) {
        std::remove(output);  // the converted file
    }
    return 0;
}
