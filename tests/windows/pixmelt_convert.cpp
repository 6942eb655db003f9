// pixmelt_convert.exe PICTURE...: binds pixmelt.dll by name, as the program
// does, and converts each picture with every method at two contrast and
// brightness settings, keeping each result as STEM-mMETHOD-cCONTRAST-bBRIGHTNESS.bmp.
// scripts/test-windows.sh compares them with the Linux library's.
#include <windows.h>

#include <cstdio>
#include <string>

#include "pixmelt/pixmelt.h"

int main(int argc, char** argv) {
    HMODULE library = LoadLibraryA("pixmelt.dll");
    const auto convert = library ? reinterpret_cast<PixmeltFunction>(
                                       reinterpret_cast<void*>(GetProcAddress(library, "pixmelt")))
                                 : nullptr;
    if (convert == nullptr) {
        std::fprintf(stderr, "pixmelt.dll or its entry point pixmelt not found\n");
        return 2;
    }
    const int settings[][2] = {{0, 0}, {40, -30}};
    int failures = 0;
    for (int i = 1; i < argc; ++i) {
        const std::string input = argv[i];
        const std::string stem = input.substr(0, input.size() - 4);
        for (int method = 0; method <= 3; ++method) {
            for (const auto& s : settings) {
                char output[PIXMELT_OUTPUT_PATH_SIZE] = {};
                const int result = convert(input.c_str(), output, method, s[0], s[1]);
                const std::string kept = stem + "-m" + std::to_string(method) + "-c" +
                                         std::to_string(s[0]) + "-b" + std::to_string(s[1]) +
                                         ".bmp";
                if (result != kPixmeltWritten ||
                    !MoveFileExA(output, kept.c_str(), MOVEFILE_REPLACE_EXISTING)) {
                    std::fprintf(stderr, "%s method %d: result %d\n", input.c_str(), method,
                                 result);
                    ++failures;
                }
            }
        }
    }
    FreeLibrary(library);
    return failures == 0 ? 0 : 1;
}
