// Sending the printer's commands (protocol/commands.h) through the open link:
// each in one PortWrite. A command its builder cannot make for the parameters
// is not sent, and its sender returns 0.
#pragma once

#include <string>

#include "link/link_state.h"
#include "protocol/commands.h"

namespace stampa {

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
int SendPrintNvGraphic(PortHandleValue handle, int mode, const std::string& key);
int SendDeleteAllNvGraphics(PortHandleValue handle);
int SendDeleteNvGraphic(PortHandleValue handle, const std::string& key);

}  // namespace stampa
