// The USB interface library `QzUsbInt` as the program binds it: twelve entry
// points resolved by name, of which OpenDeviceX, uWrite and CloseDevice are called.
#pragma once

#include <memory>
#include <string>

#include "common/library_loader.h"
#include "link/usb/usb_interface.h"

namespace stampa {

// The twelve entry points, in the order they are resolved.
struct UsbLibrary {
    QzHandle (*OpenDeviceX)(int device) = nullptr;
    int (*CloseDevice)(QzHandle handle) = nullptr;
    int (*uWrite)(QzHandle handle, int pipe, const void* bytes, int count) = nullptr;
    int (*uRead)(QzHandle handle, int pipe, void* bytes, int count) = nullptr;
    int (*ResetPipes)(QzHandle handle) = nullptr;
    int (*VendorRequest)(QzHandle, int, int, int, void*, int) = nullptr;
    int (*GetDescriptor)(QzHandle, int, int, void*, int) = nullptr;
    int (*GetConfiguration)(QzHandle, void*) = nullptr;
    int (*GetDeviceStatus)(QzHandle, void*) = nullptr;
    int (*GetPipeInfo)(QzHandle, int, void*) = nullptr;
    int (*AbortPipes)(QzHandle) = nullptr;
    int (*SetInterface)(QzHandle, int, int) = nullptr;
};

// "libQzUsbInt.so" on Linux, "QzUsbInt.dll" on Windows.
inline const std::string kUsbLibraryFile = SharedLibraryFileName("QzUsbInt");

// Resolves all twelve names from a loaded library, in order. False (and `out`
// left as it was) when any one is missing.
bool ResolveUsbLibrary(const LoadedLibrary& library, UsbLibrary& out);

// The program-wide binding, set up at start-up. BindUsbLibrary loads the
// library by name and resolves its entry points; false when either fails.
bool BindUsbLibrary(const std::string& fileName = kUsbLibraryFile);
void UnbindUsbLibrary();
bool UsbLibraryBound();

// The bound entry points (all null while unbound). Tests may install their own
// table with SetUsbLibrary.
const UsbLibrary& QzUsb();
void SetUsbLibrary(const UsbLibrary& table);

}  // namespace stampa
