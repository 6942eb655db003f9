// Logo files as the select page takes them: written to a folder, appended to
// SelectedLogos with their geometry, counted in SelectedCount and SelectedBytes.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "logos/bitmap_reader.h"
#include "logos/logo_lists.h"
#include "support/temp_dir.h"

namespace stampa::test {

inline void PickLogo(const std::string& path) {
    const std::string name = std::filesystem::path(path).filename().string();
    const int position = SelectedLogos.Length();
    SelectedLogos.Append(position, name, path, path, 0, 0, 0, 0);
    ReadBitmapGeometry(position);
    SelectedCount = SelectedLogos.Count();
    SelectedBytes = SelectedBytes + static_cast<std::int32_t>(SelectedLogos.GetSize(position));
}

inline std::string WriteAndPick(const TempDir& dir, const std::string& name,
                                const std::vector<unsigned char>& bytes) {
    const std::string path = dir.File(name);
    WriteFileBytes(path, bytes);
    PickLogo(path);
    return path;
}

}  // namespace stampa::test
