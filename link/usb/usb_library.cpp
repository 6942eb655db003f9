#include "link/usb/usb_library.h"

namespace stampa {
namespace {

// The USB library, loaded and bound once at start-up, read only afterwards.
struct Binding {
    UsbLibrary table;
    std::unique_ptr<LoadedLibrary> library;
} bound;

template <typename Fn>
bool Resolve(const LoadedLibrary& library, const char* name, Fn& slot) {
    slot = reinterpret_cast<Fn>(library.Symbol(name));
    return slot != nullptr;
}

}  // namespace

bool ResolveUsbLibrary(const LoadedLibrary& library, UsbLibrary& out) {
    UsbLibrary t;
    const bool all = Resolve(library, "OpenDeviceX", t.OpenDeviceX) &&
                     Resolve(library, "CloseDevice", t.CloseDevice) &&
                     Resolve(library, "uWrite", t.uWrite) && Resolve(library, "uRead", t.uRead) &&
                     Resolve(library, "ResetPipes", t.ResetPipes) &&
                     Resolve(library, "VendorRequest", t.VendorRequest) &&
                     Resolve(library, "GetDescriptor", t.GetDescriptor) &&
                     Resolve(library, "GetConfiguration", t.GetConfiguration) &&
                     Resolve(library, "GetDeviceStatus", t.GetDeviceStatus) &&
                     Resolve(library, "GetPipeInfo", t.GetPipeInfo) &&
                     Resolve(library, "AbortPipes", t.AbortPipes) &&
                     Resolve(library, "SetInterface", t.SetInterface);
    if (all) {
        out = t;
    }
    return all;
}

bool BindUsbLibrary(const std::string& fileName) {
    auto library = LoadedLibrary::Load(fileName);
    UsbLibrary table;
    if (!library || !ResolveUsbLibrary(*library, table)) {
        return false;
    }
    bound.table = table;
    bound.library = std::move(library);
    return true;
}

void UnbindUsbLibrary() {
    bound.table = UsbLibrary{};
    bound.library.reset();
}

bool UsbLibraryBound() {
    return bound.table.OpenDeviceX != nullptr;
}

const UsbLibrary& QzUsb() {
    return bound.table;
}

void SetUsbLibrary(const UsbLibrary& table) {
    bound.table = table;
}

}  // namespace stampa
