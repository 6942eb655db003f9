#include "link/commands.h"

#include <cstdint>

#include "link/port.h"

namespace stampa {
namespace {

bool ValidMode(int mode) {
    return mode >= kNormalSize && mode <= kDoubleWidthAndHeight;
}

int Send(PortHandleValue handle, const Bytes& bytes) {
    return PortWrite(handle, bytes.data(), static_cast<int>(bytes.size()));
}

int SendAsFlag(PortHandleValue handle, const std::optional<Bytes>& bytes) {
    if (handle == kNoHandle || !bytes) {
        return 0;
    }
    return Send(handle, *bytes) != 0 ? 1 : 0;
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

int SendInitialize(PortHandleValue handle) {
    return SendAsFlag(handle, InitializeCommand());
}

int SendLineFeed(PortHandleValue handle) {
    return Send(handle, LineFeedCommand());
}

int SendStatusRequest(PortHandleValue handle) {
    return Send(handle, StatusRequestCommand());
}

int SendFormFeed(PortHandleValue handle) {
    return Send(handle, FormFeedCommand());
}

int SendCancel(PortHandleValue handle) {
    return SendAsFlag(handle, CancelCommand());
}

int SendPrintFlashLogo(PortHandleValue handle, int mode, int number) {
    return SendAsFlag(handle, PrintFlashLogoCommand(mode, number));
}

int SendPrintRamLogo(PortHandleValue handle, int mode, int number) {
    const auto select = SelectRamLogoCommand(number);
    const auto print = PrintRamLogoCommand(mode);
    if (handle == kNoHandle || !select || !print) {
        return 0;
    }
    const bool selected = Send(handle, *select) != 0;
    const bool printed = Send(handle, *print) != 0;
    const bool fed = Send(handle, LineFeedCommand()) != 0;
    return selected && printed && fed ? 1 : 0;
}

int SendVerticalOffset(PortHandleValue handle, int value) {
    return SendAsFlag(handle, VerticalOffsetCommand(value));
}

int SendPrintNvGraphic(PortHandleValue handle, int mode, const std::string& key) {
    return SendAsFlag(handle, PrintNvGraphicCommand(mode, key));
}

int SendDeleteAllNvGraphics(PortHandleValue handle) {
    return SendAsFlag(handle, DeleteAllNvGraphicsCommand());
}

int SendDeleteNvGraphic(PortHandleValue handle, const std::string& key) {
    return SendAsFlag(handle, DeleteNvGraphicCommand(key));
}

}  // namespace stampa
