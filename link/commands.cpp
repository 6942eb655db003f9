#include "link/commands.h"

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

}  // namespace stampa
