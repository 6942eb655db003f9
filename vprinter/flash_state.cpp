#include "vprinter/flash_state.h"

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "common/atomic_file.h"
#include "common/bytes.h"

namespace vprinter {
namespace {

// The FLASH logos: the magic, a count, then per logo x, y and the data. The
// NV graphics follow: their tag, a count, then per graphic the key, width,
// height and rows; then the count of NV writes: its tag and 8 bytes.
constexpr char kMagic[8] = {'S', 'T', 'V', 'P', 'F', 'L', 'S', '1'};
constexpr char kNvTag[4] = {'N', 'V', 'G', 'R'};
constexpr char kWritesTag[4] = {'N', 'V', 'W', 'R'};

using Bytes = std::vector<unsigned char>;

void PutU16(Bytes& out, int value) {
    unsigned char field[2];
    stampa::WriteU16(field, static_cast<std::uint16_t>(value));
    out.insert(out.end(), field, field + 2);
}

void PutU32(Bytes& out, std::size_t value) {
    unsigned char field[4];
    stampa::WriteU32(field, static_cast<std::uint32_t>(value));
    out.insert(out.end(), field, field + 4);
}

// Reads through a file's bytes; every read is checked against the end.
class Reader {
  public:
    explicit Reader(const Bytes& bytes) : bytes_(bytes) {}
    bool Has(std::size_t n) const { return bytes_.size() - at_ >= n; }
    bool AtEnd() const { return at_ == bytes_.size(); }
    int U16() {
        at_ += 2;
        return stampa::ReadU16(&bytes_[at_ - 2]);
    }
    std::uint32_t U32() {
        at_ += 4;
        return stampa::ReadU32(&bytes_[at_ - 4]);
    }
    bool Take(std::size_t n, std::vector<std::uint8_t>& out) {
        if (!Has(n))
            return false;
        out.assign(bytes_.begin() + static_cast<long>(at_),
                   bytes_.begin() + static_cast<long>(at_ + n));
        at_ += n;
        return true;
    }
    bool Tag(const char* tag, std::size_t n) {
        if (!Has(n) || std::memcmp(&bytes_[at_], tag, n) != 0)
            return false;
        at_ += n;
        return true;
    }

  private:
    const Bytes& bytes_;
    std::size_t at_ = 0;
};

bool ReadFlash(Reader& in, std::vector<RasterLogo>& logos) {
    if (!in.Tag(kMagic, sizeof kMagic) || !in.Has(4)) {
        return false;
    }
    const std::uint32_t count = in.U32();
    for (std::uint32_t i = 0; i < count && i < 255; ++i) {
        if (!in.Has(4)) {
            return false;
        }
        RasterLogo logo;
        logo.xBytes = in.U16();
        logo.yBands = in.U16();
        if (!in.Take(static_cast<std::size_t>(logo.xBytes) * logo.yBands * 8, logo.data)) {
            return false;
        }
        logos.push_back(std::move(logo));
    }
    return true;
}

bool ReadNv(Reader& in, NvGraphics& nv) {
    if (in.AtEnd()) {
        return true;  // a file from before NV graphics were kept
    }
    if (!in.Tag(kNvTag, sizeof kNvTag) || !in.Has(4)) {
        return false;
    }
    const std::uint32_t count = in.U32();
    for (std::uint32_t i = 0; i < count; ++i) {
        if (!in.Has(6)) {
            return false;
        }
        std::vector<std::uint8_t> key;
        in.Take(2, key);
        NvGraphic graphic;
        graphic.width = in.U16();
        graphic.height = in.U16();
        if (!in.Take(graphic.RowBytes() * static_cast<std::size_t>(graphic.height), graphic.rows)) {
            return false;
        }
        nv[std::string(key.begin(), key.end())] = std::move(graphic);
    }
    return true;
}

bool ReadNvWrites(Reader& in, long long& writes) {
    if (in.AtEnd()) {
        return true;  // a file from before NV writes were counted
    }
    if (!in.Tag(kWritesTag, sizeof kWritesTag) || !in.Has(8)) {
        return false;
    }
    const std::uint32_t low = in.U32();
    writes = static_cast<long long>(low) | static_cast<long long>(in.U32()) << 32;
    return true;
}

}  // namespace

bool SaveStoredLogos(const std::string& path, const StoredLogos& logos) {
    Bytes out(kMagic, kMagic + sizeof kMagic);
    PutU32(out, logos.flash.size());
    for (const RasterLogo& logo : logos.flash) {
        PutU16(out, logo.xBytes);
        PutU16(out, logo.yBands);
        out.insert(out.end(), logo.data.begin(), logo.data.end());
    }
    out.insert(out.end(), kNvTag, kNvTag + sizeof kNvTag);
    PutU32(out, logos.nv.size());
    for (const auto& [key, graphic] : logos.nv) {
        out.insert(out.end(), key.begin(), key.end());
        PutU16(out, graphic.width);
        PutU16(out, graphic.height);
        out.insert(out.end(), graphic.rows.begin(), graphic.rows.end());
    }
    out.insert(out.end(), kWritesTag, kWritesTag + sizeof kWritesTag);
    PutU32(out, static_cast<std::size_t>(logos.nvWrites & 0xFFFFFFFF));
    PutU32(out, static_cast<std::size_t>(logos.nvWrites >> 32));
    return stampa::ReplaceFileAtomically(path, out);
}

std::optional<StoredLogos> LoadStoredLogos(const std::string& path) {
    std::error_code error;
    if (!std::filesystem::exists(path, error)) {
        return StoredLogos{};
    }
    std::ifstream in(path, std::ios::binary);
    const Bytes bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    Reader reader(bytes);
    StoredLogos logos;
    if (!ReadFlash(reader, logos.flash) || !ReadNv(reader, logos.nv) ||
        !ReadNvWrites(reader, logos.nvWrites)) {
        return std::nullopt;
    }
    return logos;
}

}  // namespace vprinter
