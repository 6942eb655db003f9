#include "logos/bitmap_reader.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <limits>

#include "common/bytes.h"
#include "common/messages.h"
#include "common/operator.h"
#include "logos/logo_list.h"

namespace stampa {
namespace {

constexpr std::size_t kHeaderBytes = kBitmapHeaderBytes;

// Reads up to kHeaderBytes from the start of the file into `header` (which the
// caller has zeroed). Returns the count read, or -1 when the file cannot be opened.
long ReadHeaderBytes(const std::string& path, unsigned char* header) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        return -1;
    }
    // A short file or a read error (a folder, say) gives a short header.
    const std::size_t got = std::fread(header, 1, kHeaderBytes, file);
    std::fclose(file);
    return static_cast<long>(got);
}

std::int64_t AbsoluteHeight(std::int32_t height) {
    return std::llabs(std::int64_t{height});
}

int CheckBitmap(const std::string& path, std::uint16_t wantedBits, const OperatorChannel& channel) {
    unsigned char bytes[kHeaderBytes] = {};
    if (ReadHeaderBytes(path, bytes) != static_cast<long>(kHeaderBytes)) {
        ShowInformation(channel, msg::kOpenBitmapFailed);
        return 0;
    }
    const BitmapHeader h = ParseBitmapHeader(bytes);
    // A picture without pixels (width below 1, height 0) is no logo of any kind:
    // refused silently like a wrong kind, so the caller gives its own message.
    if (h.fileType != kBitmapFileType || h.bitCount != wantedBits || h.width < 1 || h.height == 0) {
        return 0;
    }
    // A top-down picture (negative height) is measured by its row count.
    if (h.width > kMaxLogoWidth || AbsoluteHeight(h.height) > kMaxLogoHeight) {
        ShowInformation(channel, msg::kImageTooLarge);
        return 0;
    }
    return 1;
}

}  // namespace

BitmapHeader ParseBitmapHeader(const unsigned char* bytes) {
    BitmapHeader h;
    h.fileType = ReadU16(bytes + 0);
    h.pixelOffset = ReadU32(bytes + 10);
    h.infoSize = ReadU32(bytes + 14);
    h.width = ReadI32(bytes + 18);
    h.height = ReadI32(bytes + 22);
    h.bitCount = ReadU16(bytes + 28);
    return h;
}

std::optional<BitmapHeader> ReadBitmapHeader(const std::string& path) {
    unsigned char bytes[kHeaderBytes] = {};
    if (ReadHeaderBytes(path, bytes) != static_cast<long>(kHeaderBytes)) {
        return std::nullopt;
    }
    return ParseBitmapHeader(bytes);
}

std::optional<PictureSize> ShowablePictureSize(const std::string& path) {
    const auto h = ReadBitmapHeader(path);
    if (!h || h->fileType != kBitmapFileType) {
        return std::nullopt;
    }
    const std::uint16_t bits = h->bitCount;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32) {
        return std::nullopt;
    }
    PictureSize size;
    size.width = std::min(h->width, kMaxLogoWidth);
    size.height =
        static_cast<int>(std::min(AbsoluteHeight(h->height), std::int64_t{kMaxLogoHeight}));
    if (size.width <= 0 || size.height <= 0) {
        return std::nullopt;
    }
    return size;
}

std::uint32_t OneBitImageSize(std::int32_t width, std::int32_t height) {
    if (width < 1) {
        return 0;
    }
    const std::int64_t size = 4 * ((std::int64_t{width} + 31) / 32) * AbsoluteHeight(height);
    constexpr std::int64_t kMax = std::numeric_limits<std::uint32_t>::max();
    return static_cast<std::uint32_t>(size > kMax ? kMax : size);
}

int IsMonoBitmap(const std::string& path, const OperatorChannel& channel) {
    return CheckBitmap(path, 1, channel);
}

int IsTrueColorBitmap(const std::string& path, const OperatorChannel& channel) {
    return CheckBitmap(path, 24, channel);
}

void ReadBitmapGeometry(CLogoList& list, int position) {
    if (position < 0) {
        return;
    }
    unsigned char bytes[kHeaderBytes] = {};  // a short file leaves the missing fields 0
    if (ReadHeaderBytes(list.GetPath(position), bytes) < 0) {
        return;
    }
    const BitmapHeader h = ParseBitmapHeader(bytes);
    const auto width = static_cast<std::uint32_t>(h.width < 0 ? 0 : h.width);
    const auto height = static_cast<std::uint32_t>(AbsoluteHeight(h.height));
    list.SetSize(position, OneBitImageSize(h.width, h.height));
    list.SetWidth(position, width);
    list.SetHeight(position, height);
}

}  // namespace stampa
