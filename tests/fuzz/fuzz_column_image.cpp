// The printer's column raster built from any bytes.
#include <vector>

#include "logos/column_image.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<std::uint8_t> file(data, data + size);
    const auto image = stampa::ColumnImageFromBytes(file);
    if (image && image->data.size() != static_cast<std::size_t>(image->stride) * image->bands * 8) {
        __builtin_trap();  // the raster must be exactly as large as its header says
    }
    return 0;
}
