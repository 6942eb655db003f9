#include "app/runtime_libraries.h"

#include <atomic>
#include <memory>

#include "link/library_loader.h"
#include "link/usb_library.h"

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

bool BindRuntimeLibraries(const std::string& pixmeltFile, const std::string& usbFile) {
    return BindPixmelt(pixmeltFile) && BindUsbLibrary(usbFile);
}

void UnbindRuntimeLibraries() {
    UnbindUsbLibrary();
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

}  // namespace stampa
