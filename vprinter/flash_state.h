// The printer's FLASH logos kept in a file between runs, as a real printer
// keeps them through a power cycle.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "vprinter/raster_logo.h"

namespace vprinter {

// Writes the logos, replacing the file whole. False when it cannot be written.
bool SaveFlashState(const std::string& path, const std::vector<RasterLogo>& logos);

// The logos of a state file; an empty list for a missing file; nullopt for a
// file that is not a state file or is damaged.
std::optional<std::vector<RasterLogo>> LoadFlashState(const std::string& path);

}  // namespace vprinter
