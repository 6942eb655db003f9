#include "protocol/commands.h"

#include <cstdint>

namespace stampa {
namespace {

bool ValidMode(int mode) {
    return mode >= kNormalSize && mode <= kDoubleWidthAndHeight;
}

bool ValidNvNumber(int number) {
    return number >= 1 && number <= kMaxNvNumber;
}

// The key code of NV logo n: its two decimal digits.
void AppendNvKey(Bytes& bytes, int number) {
    const std::string key = NvKeyOf(number);
    bytes.insert(bytes.end(), key.begin(), key.end());
}

void AppendLittleEndian(Bytes& bytes, std::uint64_t value, int width) {
    for (int i = 0; i < width; ++i)
        bytes.push_back(static_cast<unsigned char>((value >> (8 * i)) & 0xFF));
}

}  // namespace

Bytes InitializeCommand() {
    return {ESC, '@'};
}
Bytes LineFeedCommand() {
    return {LF};
}
Bytes FormFeedCommand() {
    return {FF};
}
Bytes CancelCommand() {
    return {CAN};
}
Bytes StatusRequestCommand() {
    return {GS, 'r', 1};
}

std::optional<Bytes> PrintFlashLogoCommand(int mode, int number) {
    if (number < 1 || number > 255 || !ValidMode(mode)) {
        return std::nullopt;
    }
    return Bytes{FS, 'p', static_cast<unsigned char>(number), static_cast<unsigned char>(mode)};
}

std::optional<Bytes> SelectRamLogoCommand(int number) {
    if (number < 0 || number > 8) {
        return std::nullopt;
    }
    return Bytes{GS, '#', static_cast<unsigned char>(number)};
}

std::optional<Bytes> PrintRamLogoCommand(int mode) {
    if (!ValidMode(mode)) {
        return std::nullopt;
    }
    return Bytes{GS, '/', static_cast<unsigned char>(mode)};
}

std::optional<Bytes> VerticalOffsetCommand(int value) {
    if (value < 0 || value > 65535) {
        return std::nullopt;
    }
    return Bytes{GS, '\\', static_cast<unsigned char>(value % 256),
                 static_cast<unsigned char>(value / 256)};
}

std::optional<Bytes> DefineFlashLogosCommand(int count) {
    if (count < 1 || count > 255) {
        return std::nullopt;
    }
    return Bytes{FS, 'q', static_cast<unsigned char>(count)};
}

std::optional<Bytes> FlashLogoHeader(int stride, int bands) {
    if (stride < 1 || stride > 1023 || bands < 1 || bands > 288) {
        return std::nullopt;
    }
    return Bytes{static_cast<unsigned char>(stride % 256), static_cast<unsigned char>(stride / 256),
                 static_cast<unsigned char>(bands % 256), static_cast<unsigned char>(bands / 256)};
}

std::optional<Bytes> DefineRamLogoCommand(int stride, int bands) {
    if (stride < 1 || stride > 255 || bands < 1 || bands > 255) {
        return std::nullopt;
    }
    return Bytes{GS, '*', static_cast<unsigned char>(stride), static_cast<unsigned char>(bands)};
}

Bytes RealTimeStatusCommand(int n) {
    return {DLE, EOT, static_cast<unsigned char>(n)};
}

Bytes NvCapacityQueryCommand() {
    return {GS, '(', 'L', 2, 0, '0', '0'};
}

Bytes NvFreeCapacityQueryCommand() {
    return {GS, '(', 'L', 2, 0, '0', '3'};
}

Bytes NvKeyListQueryCommand() {
    return {GS, '(', 'L', 4, 0, '0', '@', 'K', 'C'};
}

Bytes DeleteAllNvGraphicsCommand() {
    return {GS, '(', 'L', 5, 0, '0', 'A', 'C', 'L', 'R'};
}

std::string NvKeyOf(int number) {
    if (!ValidNvNumber(number)) {
        return {};
    }
    return {static_cast<char>('0' + number / 10), static_cast<char>('0' + number % 10)};
}

bool ValidNvKey(const std::string& key) {
    return key.size() == 2 && key[0] >= 32 && key[0] <= 126 && key[1] >= 32 && key[1] <= 126;
}

std::optional<Bytes> DeleteNvGraphicCommand(const std::string& key) {
    if (!ValidNvKey(key)) {
        return std::nullopt;
    }
    Bytes bytes{GS, '(', 'L', 4, 0, '0', 'B'};
    bytes.insert(bytes.end(), key.begin(), key.end());
    return bytes;
}

std::optional<Bytes> DefineNvGraphicHead(int number, int width, int height) {
    if (!ValidNvNumber(number) || width < 1 || width > kMaxNvWidth || height < 1 ||
        height > kMaxNvHeight) {
        return std::nullopt;
    }
    // Parameters: m fn a kc1 kc2 b xL xH yL yH c (11 bytes), then the data.
    const std::uint64_t p = 11 + static_cast<std::uint64_t>((width + 7) / 8) * height;
    const bool longForm = p > 65535;
    Bytes bytes{GS, static_cast<unsigned char>(longForm ? '8' : '('), 'L'};
    AppendLittleEndian(bytes, p, longForm ? 4 : 2);
    bytes.insert(bytes.end(), {'0', 'C', '0'});
    AppendNvKey(bytes, number);
    bytes.push_back(1);  // one colour
    AppendLittleEndian(bytes, static_cast<std::uint64_t>(width), 2);
    AppendLittleEndian(bytes, static_cast<std::uint64_t>(height), 2);
    bytes.push_back('1');  // colour 1: black
    return bytes;
}

std::optional<Bytes> RasterBitImageHead(int mode, int rowBytes, int rows) {
    if (!ValidMode(mode) || rowBytes < 1 || rowBytes > 65535 || rows < 1 ||
        rows > kMaxRasterBandRows) {
        return std::nullopt;
    }
    return Bytes{GS,
                 'v',
                 '0',
                 static_cast<unsigned char>(mode),
                 static_cast<unsigned char>(rowBytes % 256),
                 static_cast<unsigned char>(rowBytes / 256),
                 static_cast<unsigned char>(rows % 256),
                 static_cast<unsigned char>(rows / 256)};
}

std::optional<Bytes> PrintNvGraphicCommand(int mode, const std::string& key) {
    if (!ValidNvKey(key) || !ValidMode(mode)) {
        return std::nullopt;
    }
    Bytes bytes{GS, '(', 'L', 6, 0, '0', 'E'};
    bytes.insert(bytes.end(), key.begin(), key.end());
    bytes.push_back(static_cast<unsigned char>(1 + (mode & 1)));
    bytes.push_back(static_cast<unsigned char>(1 + (mode >> 1)));
    return bytes;
}

}  // namespace stampa
