#include "pixmelt/bmp_file.h"

#include <atomic>
#include <cstring>
#include <new>

#include "pixmelt/file_platform.h"

namespace melt {
namespace {

std::uint32_t U32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
std::uint16_t U16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

void Put32(std::uint8_t* p, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}
void Put16(std::uint8_t* p, std::uint16_t v) {
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
}

constexpr long kHeadersSize = 54;
constexpr std::uint32_t kOutputHeaderSize = 62;

}  // namespace

InputHeader ReadInputHeader(std::FILE* file) {
    std::uint8_t b[kHeadersSize] = {};
    const std::size_t got = std::fread(b, 1, sizeof b, file);
    (void)got;  // a short header leaves the missing fields 0
    InputHeader h;
    h.type = U16(b + 0);
    h.offBits = U32(b + 10);
    h.width = static_cast<std::int32_t>(U32(b + 18));
    h.height = static_cast<std::int32_t>(U32(b + 22));
    h.bitCount = U16(b + 28);
    h.compression = U32(b + 30);
    return h;
}

long FileSize(std::FILE* file) {
    if (std::fseek(file, 0, SEEK_END) != 0) {
        return 0;
    }
    const long size = std::ftell(file);
    return size < 0 ? 0 : size;
}

long PixelDataOffset(long fileSize, const InputHeader& header) {
    if (header.offBits >= kHeadersSize && static_cast<long>(header.offBits) < fileSize) {
        return static_cast<long>(header.offBits);
    }
    return kHeadersSize;
}

PixelData::PixelData(std::FILE* file, long offset, std::size_t size) {
    const long fileSize = FileSize(file);
    if (size > 0 && fileSize >= offset && static_cast<std::size_t>(fileSize - offset) >= size) {
        mappingSize_ = static_cast<std::size_t>(offset) + size;
        if (void* m = MapForReading(file, mappingSize_)) {
            mapping_ = m;
            data_ = static_cast<const std::uint8_t*>(m) + offset;
            return;
        }
    }
    buffer_.reset(new (std::nothrow) std::uint8_t[size == 0 ? 1 : size]);
    if (!buffer_) {
        return;
    }
    std::size_t got = 0;
    if (std::fseek(file, offset, SEEK_SET) == 0) {
        got = std::fread(buffer_.get(), 1, size, file);
    }
    std::memset(buffer_.get() + got, 0, size - got);
    data_ = buffer_.get();
}

PixelData::~PixelData() {
    if (mapping_ != nullptr) {
        Unmap(mapping_, mappingSize_);
    }
}

void MakeOutputHeader(std::int32_t width, std::int32_t height, std::uint32_t imageSize,
                      std::uint8_t header[62]) {
    std::memset(header, 0, kOutputHeaderSize);
    header[0] = 'B';
    header[1] = 'M';
    Put32(header + 2, kOutputHeaderSize + imageSize);
    Put32(header + 10, kOutputHeaderSize);
    Put32(header + 14, 40);
    Put32(header + 18, static_cast<std::uint32_t>(width));
    Put32(header + 22, static_cast<std::uint32_t>(height));
    Put16(header + 26, 1);
    Put16(header + 28, 1);
    Put32(header + 34, imageSize);
    // Palette: entry 0 black (54..57 stay zero), entry 1 white.
    header[58] = 0xFF;
    header[59] = 0xFF;
    header[60] = 0xFF;
}

bool WriteOutputFile(const std::string& path, const std::uint8_t header[62],
                     const std::uint8_t* rows, std::size_t size) {
    static std::atomic<unsigned> counter{0};
    const std::string temporary =
        path + ".part-" + std::to_string(ProcessId()) + "-" + std::to_string(counter++);
    std::FILE* out = CreateNewFile(temporary);
    if (out == nullptr) {
        return false;
    }
    bool ok = std::fwrite(header, 1, kOutputHeaderSize, out) == kOutputHeaderSize &&
              std::fwrite(rows, 1, size, out) == size;
    ok = std::fclose(out) == 0 && ok;
    ok = ok && MoveOver(temporary, path);
    if (!ok) {
        std::remove(temporary.c_str());
    }
    return ok;
}

}  // namespace melt
