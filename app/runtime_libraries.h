// The libraries the program binds by name at start-up: Pixmelt, for converting
// logos, and the USB interface library. Qt-free: stampa-cli binds them the same way.
#pragma once

#include <string>

#include "pixmelt/pixmelt.h"

namespace stampa {

inline constexpr const char* kPixmeltLibraryFile = "libpixmelt.so";

// Binds libpixmelt.so and its `pixmelt`, then libQzUsbInt.so and its twelve
// entry points; stops at the first failure. True when both are bound.
bool BindRuntimeLibraries(const std::string& pixmeltFile = kPixmeltLibraryFile,
                          const std::string& usbFile = "libQzUsbInt.so");

// Unloads the USB library, then Pixmelt.
void UnbindRuntimeLibraries();

// Binds Pixmelt alone (tools that convert without printing).
bool BindPixmelt(const std::string& fileName = kPixmeltLibraryFile);

// Calls the bound `pixmelt` with the caller's 500-byte output buffer. -1, with
// the buffer untouched, when Pixmelt is not bound.
int CallPixmelt(const char* inputPath, char* outputPath, int method, int contrast, int brightness);

}  // namespace stampa
