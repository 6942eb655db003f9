// Pixmelt as the program uses it: libpixmelt.so bound by name at start-up and
// its `pixmelt` entry point called with the caller's 500-byte output buffer.
// Qt-free; the pages, the download job and stampa-cli all convert through it.
#pragma once

#include <string>

#include "common/library_loader.h"
#include "pixmelt/pixmelt.h"

namespace stampa {

// "libpixmelt.so" on Linux, "pixmelt.dll" on Windows.
inline const std::string kPixmeltLibraryFile = SharedLibraryFileName("pixmelt");

// Binds the library and its `pixmelt`; false when either is missing.
bool BindPixmelt(const std::string& fileName = kPixmeltLibraryFile);
void UnbindPixmelt();

// Calls the bound `pixmelt` with the caller's 500-byte output buffer. -1, with
// the buffer untouched, when Pixmelt is not bound.
int CallPixmelt(const char* inputPath, char* outputPath, int method, int contrast, int brightness);

// One conversion of a logo file: Pixmelt's result and the path it gave back
// (empty when it gave none).
struct PixmeltConversion {
    int result = kPixmeltFileError;
    std::string outputPath;
};

// Converts `inputPath` through the 500-byte buffers the entry point expects;
// a path that does not fit the input buffer is cut there, as the program
// always passed it.
PixmeltConversion ConvertBitmap(const std::string& inputPath, int method, int contrast,
                                int brightness);

}  // namespace stampa
