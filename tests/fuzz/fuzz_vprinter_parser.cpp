// The virtual printer's interpreter on any byte stream, fed in pieces of any size.
#include <vector>

#include "vprinter/printer.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1)
        return 0;
    vprinter::PrinterState state;
    std::size_t receipts = 0;
    vprinter::Session session(
        state, [](const std::vector<std::uint8_t>&) {}, [&](vprinter::Receipt&&) { ++receipts; });
    const std::size_t piece = 1 + data[0] % 64;
    for (std::size_t at = 1; at < size; at += piece) {
        session.Feed(data + at, std::min(piece, size - at));
    }
    session.End();
    return 0;
}
