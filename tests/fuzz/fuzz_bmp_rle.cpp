// The BMP (RLE and the other depths) reader on any bytes.
#include "fuzz_picture.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace std::string_view_literals;
    return stampa::fuzz::DecodeAs("BM"sv, data, size);
}
