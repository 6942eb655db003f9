// The JPEG reader on any bytes.
#include "fuzz_picture.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace std::string_view_literals;
    return stampa::fuzz::DecodeAs("\xFF\xD8\xFF"sv, data, size);
}
