// The printer command set (ESC/POS family), byte for byte.
//
// Each command is built by a pure function and sent by a sender in one
// PortWrite. A builder returns no bytes for parameters the command cannot
// carry; its sender then writes nothing and returns 0, so the printer never
// receives a partial command.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "link/link_state.h"

namespace stampa {

using Bytes = std::vector<unsigned char>;

inline constexpr unsigned char ESC = 0x1B, FS = 0x1C, GS = 0x1D, LF = 0x0A, FF = 0x0C, CAN = 0x18;

// ScalingMode, the m byte of FS p and GS /.
enum ScalingModeValue : int {
    kNormalSize = 0,
    kDoubleWidth = 1,
    kDoubleHeight = 2,
    kDoubleWidthAndHeight = 3,
};

Bytes InitializeCommand();     // ESC @
Bytes LineFeedCommand();       // LF
Bytes FormFeedCommand();       // FF
Bytes CancelCommand();         // CAN
Bytes StatusRequestCommand();  // GS r 1: the paper sensor status, the serial link test
std::optional<Bytes> PrintFlashLogoCommand(int mode, int number);  // FS p n m; n 1..255, m 0..3
std::optional<Bytes> SelectRamLogoCommand(int number);             // GS # n; n 0..8
std::optional<Bytes> PrintRamLogoCommand(int mode);                // GS / m; m 0..3
std::optional<Bytes> VerticalOffsetCommand(int value);             // GS \ nL nH; 0..65535
std::optional<Bytes> DefineFlashLogosCommand(int count);           // FS q n; n 1..255

// Senders: 1 (or PortWrite's non-zero result) on success, 0 on failure.
int SendInitialize(PortHandleValue handle);     // 0 without writing for the handle -1
int SendLineFeed(PortHandleValue handle);       // PortWrite's result unchanged
int SendStatusRequest(PortHandleValue handle);  // GS r 1; PortWrite's result unchanged
int SendFormFeed(PortHandleValue handle);       // PortWrite's result unchanged
int SendCancel(PortHandleValue handle);         // 0 without writing for the handle -1
int SendPrintFlashLogo(PortHandleValue handle, int mode, int number);
// GS # number, GS / mode, LF in three writes; all three are attempted even when
// one fails, and the result is non-zero only when all three succeeded.
int SendPrintRamLogo(PortHandleValue handle, int mode, int number);
int SendVerticalOffset(PortHandleValue handle, int value);

}  // namespace stampa
