#include "link/senders.h"

#include "link/port.h"

namespace stampa {
namespace {

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
