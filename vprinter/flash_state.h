// The printer's stored logos, FLASH logos and NV graphics, kept in a file
// between runs, as a real printer keeps them through a power cycle.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "vprinter/raster_logo.h"

namespace vprinter {

struct StoredLogos {
    std::vector<RasterLogo> flash;
    NvGraphics nv;
    long long nvWrites = 0;  // NV writes (definitions, deletes) over the printer's life
};

// Writes the logos, replacing the file whole. False when it cannot be written.
bool SaveStoredLogos(const std::string& path, const StoredLogos& logos);

// The logos of a state file; none for a missing file; nullopt for a file that
// is not a state file or is damaged. Files written before NV graphics were
// kept read as FLASH logos alone.
std::optional<StoredLogos> LoadStoredLogos(const std::string& path);

}  // namespace vprinter
