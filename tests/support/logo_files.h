// Logo files as the select page takes them: written to a folder, appended to
// a store's SelectedLogos with their geometry, counted in SelectedCount and SelectedBytes.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "logos/bitmap_reader.h"
#include "logos/logo_store.h"
#include "support/temp_dir.h"

namespace stampa::test {

inline void PickLogo(LogoStore& logos, const std::string& path) {
    const std::string name = std::filesystem::path(path).filename().string();
    const int position = logos.SelectedLogos.Length();
    logos.SelectedLogos.Append(position, name, path, path, 0, 0, 0, 0);
    ReadBitmapGeometry(logos.SelectedLogos, position);
    logos.SelectedCount = logos.SelectedLogos.Count();
    logos.SelectedBytes =
        logos.SelectedBytes + static_cast<std::int32_t>(logos.SelectedLogos.GetSize(position));
}

inline std::string WriteAndPick(LogoStore& logos, const TempDir& dir, const std::string& name,
                                const std::vector<unsigned char>& bytes) {
    const std::string path = dir.File(name);
    WriteFileBytes(path, bytes);
    PickLogo(logos, path);
    return path;
}

}  // namespace stampa::test
