// The exported entry point: input acceptance, the derived name, the output file.
#include "pixmelt/pixmelt.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <string>

#include "pixmelt/binarize.h"
#include "pixmelt/bmp_file.h"

namespace melt {
namespace {

// The largest 24-bit pixel array a call takes on (the largest logo the program
// accepts, 8184 x 2304, needs 57 MB). A header asking for more is treated as an
// allocation failure instead of exhausting the machine's memory.
constexpr std::uint64_t kMaxPixelArray = std::uint64_t{256} << 20;

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

// Copies a path into the caller's buffer; a path that does not fit leaves it untouched.
void HandBack(const char* path, char* outputPath) {
    const std::size_t length = std::strlen(path);
    if (length < PIXMELT_OUTPUT_PATH_SIZE) {
        std::memcpy(outputPath, path, length + 1);
    }
}

// The input without its last four characters, followed by "Temp.bmp".
// Empty when the input is too short to have them or the name would not fit.
std::string DerivedName(const char* inputPath) {
    const std::size_t length = std::strlen(inputPath);
    if (length < 5) {
        return {};
    }
    std::string name(inputPath, length - 4);
    name += "Temp.bmp";
    return name.size() < PIXMELT_OUTPUT_PATH_SIZE ? name : std::string();
}

struct Geometry {
    std::uint64_t rows = 0;
    std::uint64_t stride24 = 0;
    std::uint64_t stride = 0;
};

Geometry GeometryOf(const InputHeader& h) {
    Geometry g;
    const auto width = static_cast<std::uint64_t>(h.width);
    g.rows = static_cast<std::uint64_t>(std::llabs(std::int64_t{h.height}));
    g.stride24 = ((24 * width + 31) / 32) * 4;
    g.stride = ((width + 31) / 32) * 4;
    return g;
}

std::unique_ptr<std::uint8_t[]> Allocate(std::uint64_t size) {
    return std::unique_ptr<std::uint8_t[]>(new (std::nothrow) std::uint8_t[size]);
}

int Convert(const char* inputPath, char* outputPath, int method, int contrast, int brightness) {
    File in(std::fopen(inputPath, "rb"));
    if (!in) {
        return kPixmeltFileError;
    }
    const InputHeader header = ReadInputHeader(in.get());
    if (header.type != 0x4D42) {
        HandBack(inputPath, outputPath);
        return kPixmeltNotAcceptable;
    }
    if (header.bitCount == 1) {
        HandBack(inputPath, outputPath);
        return kPixmeltAlreadyMono;
    }
    // Besides the kinds the printer cannot take, a picture without pixels is
    // refused: its means would divide by zero.
    if (header.bitCount != 24 || header.compression != 0 || header.width <= 0 ||
        header.height == 0) {
        HandBack(inputPath, outputPath);
        return kPixmeltNotAcceptable;
    }

    const Geometry g = GeometryOf(header);
    const std::uint64_t size24 = g.stride24 * g.rows;
    const std::uint64_t imageSize = g.stride * g.rows;
    if (size24 > kMaxPixelArray || imageSize > kMaxPixelArray) {
        return kPixmeltFileError;
    }
    const long offset = PixelDataOffset(FileSize(in.get()), header);
    auto pixels = std::make_unique<PixelData>(in.get(), offset, static_cast<std::size_t>(size24));
    auto bits = Allocate(imageSize);
    if (pixels->data() == nullptr || !bits) {
        return kPixmeltFileError;
    }
    std::memset(bits.get(), 0, imageSize);
    in.reset();

    const std::string derived = DerivedName(inputPath);
    if (derived.empty()) {
        return kPixmeltFileError;
    }
    std::memcpy(outputPath, derived.c_str(), derived.size() + 1);
    if (method == kPixmeltNone) {
        HandBack(inputPath, outputPath);
        return kPixmeltWritten;
    }

    const Image24 image{pixels->data(), header.width, static_cast<int>(g.rows),
                        static_cast<std::size_t>(g.stride24)};
    Image1 result{bits.get(), static_cast<std::size_t>(g.stride)};
    Binarize(method, image, result, contrast, brightness);
    pixels.reset();

    std::uint8_t outHeader[62];
    MakeOutputHeader(header.width, header.height, static_cast<std::uint32_t>(imageSize), outHeader);
    if (!WriteOutputFile(derived, outHeader, bits.get(), imageSize)) {
        return kPixmeltFileError;
    }
    return kPixmeltWritten;
}

}  // namespace
}  // namespace melt

extern "C" int pixmelt(const char* inputPath, char* outputPath, int method, int contrast,
                       int brightness) {
    if (inputPath == nullptr || outputPath == nullptr) {
        return kPixmeltFileError;
    }
    try {
        return melt::Convert(inputPath, outputPath, method, contrast, brightness);
    } catch (...) {
        return kPixmeltFileError;  // nothing throws across the library's boundary
    }
}

CPixmelt& CPixmelt::operator=(const CPixmelt&) {
    return *this;
}
