// Stored-logo list files of any content.
#include "fuzz_support.h"
#include "logos/stored_list.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path = stampa::fuzz::WriteInput(data, size, ".list");
    stampa::CLogoList list;
    stampa::LoadLogoListInto(list, path);
    if (list.Length() > 0 && list.Count() <= list.Length()) {
        (void)list.Entries();
    }
    return 0;
}
