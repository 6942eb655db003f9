// Reading the 24-bit input and writing the 1-bit output of a conversion.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

namespace melt {

// The header fields a conversion looks at.
struct InputHeader {
    std::uint16_t type = 0;
    std::uint32_t offBits = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::uint16_t bitCount = 0;
    std::uint32_t compression = 0;
};

// Reads the 54 header bytes; missing bytes of a short file read as 0.
InputHeader ReadInputHeader(std::FILE* file);

// The file's size in bytes, 0 when it cannot be told.
long FileSize(std::FILE* file);

// Where the pixel rows start: bfOffBits when it points inside the file at or
// after the headers, else right after the 54 header bytes.
long PixelDataOffset(long fileSize, const InputHeader& header);

// The input's pixel rows, `size` bytes from `offset`. When the file holds them
// all they are mapped read-only straight from the file (no copy of the largest
// array of a call); a short file is read into a buffer whose missing bytes are 0.
class PixelData {
  public:
    // Empty (data() == nullptr) when the buffer for a short file cannot be allocated.
    PixelData(std::FILE* file, long offset, std::size_t size);
    ~PixelData();
    PixelData(const PixelData&) = delete;
    PixelData& operator=(const PixelData&) = delete;

    const std::uint8_t* data() const { return data_; }

  private:
    void* mapping_ = nullptr;
    std::size_t mappingSize_ = 0;
    std::unique_ptr<std::uint8_t[]> buffer_;
    const std::uint8_t* data_ = nullptr;
};

// The 62-byte header of a 1-bit output: file and info headers and the
// black/white palette.
void MakeOutputHeader(std::int32_t width, std::int32_t height, std::uint32_t imageSize,
                      std::uint8_t header[62]);

// Writes header and rows to a temporary file beside `path` and renames it over
// `path` when every write succeeded; on failure any older file stays as it was.
bool WriteOutputFile(const std::string& path, const std::uint8_t header[62],
                     const std::uint8_t* rows, std::size_t size);

}  // namespace melt
