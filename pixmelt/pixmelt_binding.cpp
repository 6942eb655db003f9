#include "pixmelt/pixmelt_binding.h"

#include <atomic>
#include <cstring>
#include <memory>

#include "common/library_loader.h"

namespace stampa {
namespace {

// Pixmelt, loaded and bound once at start-up. The entry point is read by
// every session's download worker, so it is published atomically.
struct Binding {
    std::unique_ptr<LoadedLibrary> library;
    std::atomic<PixmeltFunction> entry{nullptr};
} pixmelt;

}  // namespace

bool BindPixmelt(const std::string& fileName) {
    auto library = LoadedLibrary::Load(fileName);
    if (!library) {
        return false;
    }
    auto entry = reinterpret_cast<PixmeltFunction>(library->Symbol("pixmelt"));
    if (entry == nullptr) {
        return false;
    }
    pixmelt.library = std::move(library);
    pixmelt.entry = entry;
    return true;
}

void UnbindPixmelt() {
    pixmelt.entry = nullptr;
    pixmelt.library.reset();
}

int CallPixmelt(const char* inputPath, char* outputPath, int method, int contrast, int brightness) {
    const PixmeltFunction entry = pixmelt.entry.load();
    if (entry == nullptr) {
        return -1;
    }
    return entry(inputPath, outputPath, method, contrast, brightness);
}

PixmeltConversion ConvertBitmap(const std::string& inputPath, int method, int contrast,
                                int brightness) {
    char input[PIXMELT_OUTPUT_PATH_SIZE] = {};
    char output[PIXMELT_OUTPUT_PATH_SIZE] = {};
    std::strncpy(input, inputPath.c_str(), sizeof input - 1);
    PixmeltConversion conversion;
    conversion.result = CallPixmelt(input, output, method, contrast, brightness);
    conversion.outputPath.assign(output, strnlen(output, sizeof output));
    return conversion;
}

}  // namespace stampa
