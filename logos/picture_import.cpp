#include "logos/picture_import.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>

#define XXH_INLINE_ALL
#include <xxhash.h>

namespace stampa {
namespace {

// The whole file, or nothing when it cannot be read or is too large to be a picture.
std::optional<std::vector<unsigned char>> ReadWhole(const std::string& path) {
    std::error_code error;
    const auto size = std::filesystem::file_size(path, error);
    if (error || size > static_cast<std::uintmax_t>(kMaxPictureFileBytes))
        return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    std::vector<unsigned char> bytes(static_cast<std::size_t>(size));
    if (!in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(size)))
        return std::nullopt;
    return bytes;
}

std::string ContentName(const std::vector<unsigned char>& bytes) {
    char name[32];
    std::snprintf(name, sizeof name, "%016llx.bmp",
                  static_cast<unsigned long long>(XXH3_64bits(bytes.data(), bytes.size())));
    return name;
}

}  // namespace

std::string PictureCacheFolder(const std::string& startDirectory) {
    return (std::filesystem::path(startDirectory) / "picture-cache").string();
}

ImportOutcome ImportPicture(const std::string& path, const std::string& cacheDir,
                            const PictureLimits& limits) {
    ImportOutcome outcome;
    const auto bytes = ReadWhole(path);
    if (!bytes) {
        outcome.cannotOpen = true;
        return outcome;
    }
    const std::filesystem::path cached = std::filesystem::path(cacheDir) / ContentName(*bytes);
    outcome.path = cached.string();
    std::error_code error;
    if (std::filesystem::exists(cached, error))
        return outcome;  // brought in before: the same content, the same file
    DecodedPicture decoded = DecodePicture(*bytes, limits);
    outcome.error = decoded.error;
    outcome.claimedWidth = decoded.claimedWidth;
    outcome.claimedHeight = decoded.claimedHeight;
    if (decoded.error != PictureError::None) {
        outcome.path.clear();
        return outcome;
    }
    std::filesystem::create_directories(cacheDir, error);
    outcome.notWritten = !WriteTrueColorBmp(outcome.path, decoded.picture);
    return outcome;
}

}  // namespace stampa
