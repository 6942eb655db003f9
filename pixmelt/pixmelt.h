// Pixmelt: turns a 24-bit true-colour BMP file into a 1-bit BMP file a receipt
// printer can store as a logo.
//
// The library exports exactly two things: the C function `pixmelt` and the
// empty class `CPixmelt` (kept for binary compatibility; it does nothing).
// Stampa binds `pixmelt` by name at run time.
#pragma once

#if defined(PIXMELT_BUILDING) && defined(_WIN32)
#define PIXMELT_EXPORT __declspec(dllexport)
#elif defined(PIXMELT_BUILDING)
#define PIXMELT_EXPORT __attribute__((visibility("default")))
#else
#define PIXMELT_EXPORT
#endif

// Binarization methods (the `method` argument).
enum PixmeltMethod {
    kPixmeltNone = -1,      // no conversion: outputPath := inputPath, nothing written
    kPixmeltThreshold = 0,  // "阈值": threshold at the mean luminance
    kPixmeltDitherM3 = 1,   // "Dither M3": ordered dither, 8x8 matrix
    kPixmeltDitherM4 = 2,   // "Dither M4": ordered dither, 16x16 matrix, contrast about the means
    kPixmeltErrorDiff = 3,  // "错误积累": serpentine error diffusion
};

// Results of `pixmelt`.
enum PixmeltResult {
    kPixmeltWritten = 1,         // converted and written (or method -1 on a 24-bit input)
    kPixmeltAlreadyMono = 2,     // the input is 1-bit already; outputPath := inputPath
    kPixmeltFileError = -1,      // cannot open the input, allocate, or write the output
    kPixmeltNotAcceptable = -2,  // not "BM", not 1 or 24 bits, compressed 24-bit, or no pixels
};

// The size of the caller's outputPath buffer.
#define PIXMELT_OUTPUT_PATH_SIZE 500

#ifdef __cplusplus
extern "C" {
#endif

// Converts the BMP file inputPath and writes the 1-bit result beside it, named
// as the input without its last four characters followed by "Temp.bmp".
// outputPath is the caller's zero-filled buffer of PIXMELT_OUTPUT_PATH_SIZE
// bytes; it receives the path of the file to use (see PixmeltResult).
// contrast and brightness run from -100 to +100; 0 leaves the image unchanged.
PIXMELT_EXPORT int pixmelt(const char* inputPath, char* outputPath, int method, int contrast,
                           int brightness);

#ifdef __cplusplus
}

class PIXMELT_EXPORT CPixmelt {
  public:
    CPixmelt& operator=(const CPixmelt& other);
};
#endif

// The type of `pixmelt`, for binding it by name.
typedef int (*PixmeltFunction)(const char*, char*, int, int, int);
