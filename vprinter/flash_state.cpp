#include "vprinter/flash_state.h"

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "common/atomic_file.h"
#include "common/bytes.h"

namespace vprinter {
namespace {

constexpr char kMagic[8] = {'S', 'T', 'V', 'P', 'F', 'L', 'S', '1'};

}  // namespace

bool SaveFlashState(const std::string& path, const std::vector<RasterLogo>& logos) {
    std::vector<unsigned char> out(kMagic, kMagic + sizeof kMagic);
    unsigned char field[4];
    stampa::WriteU32(field, static_cast<std::uint32_t>(logos.size()));
    out.insert(out.end(), field, field + 4);
    for (const RasterLogo& logo : logos) {
        stampa::WriteU16(field, static_cast<std::uint16_t>(logo.xBytes));
        stampa::WriteU16(field + 2, static_cast<std::uint16_t>(logo.yBands));
        out.insert(out.end(), field, field + 4);
        out.insert(out.end(), logo.data.begin(), logo.data.end());
    }
    return stampa::ReplaceFileAtomically(path, out);
}

std::optional<std::vector<RasterLogo>> LoadFlashState(const std::string& path) {
    std::error_code error;
    if (!std::filesystem::exists(path, error)) {
        return std::vector<RasterLogo>{};
    }
    std::ifstream in(path, std::ios::binary);
    const std::vector<unsigned char> bytes{std::istreambuf_iterator<char>(in),
                                           std::istreambuf_iterator<char>()};
    if (bytes.size() < 12 || std::memcmp(bytes.data(), kMagic, sizeof kMagic) != 0) {
        return std::nullopt;
    }
    const std::uint32_t count = stampa::ReadU32(&bytes[8]);
    std::vector<RasterLogo> logos;
    std::size_t at = 12;
    for (std::uint32_t i = 0; i < count && i < 255; ++i) {
        if (bytes.size() - at < 4) {
            return std::nullopt;
        }
        RasterLogo logo;
        logo.xBytes = stampa::ReadU16(&bytes[at]);
        logo.yBands = stampa::ReadU16(&bytes[at + 2]);
        at += 4;
        const std::size_t size = static_cast<std::size_t>(logo.xBytes) * logo.yBands * 8;
        if (bytes.size() - at < size) {
            return std::nullopt;
        }
        logo.data.assign(bytes.begin() + static_cast<long>(at),
                         bytes.begin() + static_cast<long>(at + size));
        at += size;
        logos.push_back(std::move(logo));
    }
    return logos;
}

}  // namespace vprinter
