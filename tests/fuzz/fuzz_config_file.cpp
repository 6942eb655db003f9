// Stampa.ini files of any content.
#include "fuzz_support.h"
#include "workflows/config_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path = stampa::fuzz::WriteInput(data, size, ".ini");
    const stampa::Configuration c = stampa::ReadConfiguration(path);
    if (c.models.size() > static_cast<std::size_t>(stampa::kMaxModels))
        __builtin_trap();
    (void)c.DefaultModel();
    return 0;
}
