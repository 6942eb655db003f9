// Bringing a picture that is not a 1-bit or 24-bit BMP into the logo
// pipeline: decoded once (logos/picture_decode.h) and written as a 24-bit BMP
// into a cache folder, under a name taken from the file's content, so the same
// picture always maps to the same file. From there on it is a 24-bit BMP like
// any other: the checks, the preview, Pixmelt, the downloads, the stored lists.
#pragma once

#include <string>

#include "logos/picture_decode.h"

namespace stampa {

// Larger files are not read at all.
inline constexpr long long kMaxPictureFileBytes = 256LL << 20;

struct ImportOutcome {
    PictureError error = PictureError::None;
    bool cannotOpen = false;  // the file could not be read (or is larger than any picture)
    bool notWritten = false;  // decoded, but the cache file could not be written
    std::string path;         // the 24-bit BMP in the cache
    int claimedWidth = 0;
    int claimedHeight = 0;
    bool Ok() const { return error == PictureError::None && !cannotOpen && !notWritten; }
};

// "<cacheDir>/<64-bit content hash in hex>.bmp", the folder made when missing.
ImportOutcome ImportPicture(const std::string& path, const std::string& cacheDir,
                            const PictureLimits& limits = {});

// The cache folder beside the stored lists of the folder the program started in.
std::string PictureCacheFolder(const std::string& startDirectory);

}  // namespace stampa
