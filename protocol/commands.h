// The printer command set (ESC/POS family), byte for byte.
//
// Each command is built by a pure function (its sender, one PortWrite, is in
// link/senders.h). A builder returns no bytes for parameters the command
// cannot carry, so the printer never receives a partial command.
#pragma once

#include <optional>
#include <string>
#include <vector>

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
// Each logo of FS q: xL xH yL yH, its width in bytes and its height in bands
// of 8 dots (1..1023 and 1..288), then the columns.
std::optional<Bytes> FlashLogoHeader(int stride, int bands);
// GS * x y: the RAM logo's width in 8-dot columns and height in bands (1..255).
std::optional<Bytes> DefineRamLogoCommand(int stride, int bands);

// GS v 0 m xL xH yL yH: a raster bit image printed at once, stored nowhere.
// x the row's bytes (1..65535), y the rows (1..kMaxRasterBandRows here: some
// printers' receive buffers are small, so a taller picture goes in bands);
// the x * y data follow, rows from the top, the leftmost dot in the most
// significant bit, a set bit black. m is the ScalingMode.
inline constexpr int kMaxRasterBandRows = 256;
std::optional<Bytes> RasterBitImageHead(int mode, int rowBytes, int rows);

// NV graphics (GS ( L / GS 8 L), addressed by key codes "01".."99": the logo
// numbered n (1..99) has the two ASCII digits of n as its key.
inline constexpr int kMaxNvNumber = 99;
inline constexpr int kMaxNvWidth = 8192;   // dots across a definition can carry
inline constexpr int kMaxNvHeight = 2304;  // dots down
// A key is two bytes of 32..126; the logo numbered n has the key NvKeyOf(n)
// (nothing for n outside 1..99).
std::string NvKeyOf(int number);
bool ValidNvKey(const std::string& key);
Bytes DeleteAllNvGraphicsCommand();                                   // function 65
std::optional<Bytes> DeleteNvGraphicCommand(const std::string& key);  // function 66
// The head of a raster definition (function 67) of a width x height logo, up to
// and including the colour byte; the ceil(width / 8) x height data follow it.
// The long form GS 8 L when the parameter count passes 65535. Nothing for a
// number outside 1..99 or a size outside 1..8192 x 1..2304.
std::optional<Bytes> DefineNvGraphicHead(int number, int width, int height);
// Print (function 69) at ScalingMode `mode`: x = 1 + (m & 1), y = 1 + (m >> 1).
std::optional<Bytes> PrintNvGraphicCommand(int mode, const std::string& key);

// Questions to the printer (its answers: protocol/answers.h).
inline constexpr unsigned char DLE = 0x10, EOT = 0x04, ACK = 0x06, NAK = 0x15;
Bytes RealTimeStatusCommand(int n);  // DLE EOT n: 1 printer, 2 offline cause, 4 paper sensor
Bytes NvCapacityQueryCommand();      // function 48: the NV graphics capacity
Bytes NvFreeCapacityQueryCommand();  // function 51: what is left of it
Bytes NvKeyListQueryCommand();       // function 64: the key codes defined

}  // namespace stampa
