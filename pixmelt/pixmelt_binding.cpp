#include "pixmelt/pixmelt_binding.h"

#include <atomic>
#include <cstring>
#include <memory>

#include "common/library_loader.h"

namespace stampa {
namespace {

std::unique_ptr<LoadedLibrary> pixmeltLibrary;
// Read by the download worker, so published atomically.
std::atomic<PixmeltFunction> pixmeltEntry{nullptr};

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
    pixmeltLibrary = std::move(library);
    pixmeltEntry = entry;
    return true;
}

void UnbindPixmelt() {
    pixmeltEntry = nullptr;
    pixmeltLibrary.reset();
}

int CallPixmelt(const char* inputPath, char* outputPath, int method, int contrast, int brightness) {
    const PixmeltFunction entry = pixmeltEntry.load();
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
