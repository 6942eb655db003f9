// The USB interface library on Windows: device n is the n-th USB printer the
// system lists (the USB printing support's device interface), or, when
// QZUSB_DEVICE_DIR names a folder, the file or pipe lpN in it (the printer's
// answers then come from lpN.in). Every wait is bounded: writes by the stall
// limit, reads by 100 ms.
#include <windows.h>
// After windows.h, which they build on.
#include <initguid.h>
#include <setupapi.h>

#include <cerrno>
#include <cstdlib>
#include <mutex>
#include <string>

#include "link/usb/usb_device_file.h"
#include "link/usb/usb_interface.h"

namespace {

constexpr int kMaxDevices = 8;
constexpr int kSlots = 32;
constexpr DWORD kStallLimitMs = 5000;  // QZUSB_STALL_MS sets another (tests)
constexpr DWORD kReadWaitMs = 100;

// The device interface of USB printers (usbprint.sys).
DEFINE_GUID(kUsbPrintInterface, 0x28d78fad, 0x5a12, 0x11d1, 0xae, 0x5b, 0x00, 0x00, 0xf8, 0x03,
            0xa8, 0xc2);

DWORD StallLimitMs() {
    const char* text = std::getenv("QZUSB_STALL_MS");
    const int value = text != nullptr ? std::atoi(text) : 0;
    return value > 0 ? static_cast<DWORD>(value) : kStallLimitMs;
}

struct Slot {
    HANDLE write = INVALID_HANDLE_VALUE;
    HANDLE read = INVALID_HANDLE_VALUE;  // the same handle for a real device
};

std::mutex slotsMutex;
Slot slots[kSlots];

Slot SlotOf(QzHandle handle) {
    std::lock_guard lock(slotsMutex);
    return handle >= 1 && handle <= kSlots ? slots[handle - 1] : Slot{};
}

HANDLE OpenPath(const std::string& path, DWORD access) {
    return CreateFileA(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                       OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr);
}

// The path of the n-th USB printer the system lists; empty when there is none.
std::string UsbPrinterPath(int device) {
    const HDEVINFO set = SetupDiGetClassDevsA(&kUsbPrintInterface, nullptr, nullptr,
                                              DIGCF_PRESENT | DIGCF_DEVICEINTERFACE);
    if (set == INVALID_HANDLE_VALUE)
        return {};
    std::string path;
    SP_DEVICE_INTERFACE_DATA item{};
    item.cbSize = sizeof item;
    if (SetupDiEnumDeviceInterfaces(set, nullptr, &kUsbPrintInterface, static_cast<DWORD>(device),
                                    &item)) {
        DWORD size = 0;
        SetupDiGetDeviceInterfaceDetailA(set, &item, nullptr, 0, &size, nullptr);
        std::string buffer(size, '\0');
        auto* detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_A*>(buffer.data());
        if (size >= sizeof *detail) {
            detail->cbSize = sizeof *detail;
            if (SetupDiGetDeviceInterfaceDetailA(set, &item, detail, size, nullptr, nullptr))
                path = detail->DevicePath;
        }
    }
    SetupDiDestroyDeviceInfoList(set);
    return path;
}

Slot OpenSlot(int device) {
    Slot slot;
    const char* folder = std::getenv("QZUSB_DEVICE_DIR");
    if (folder != nullptr && *folder != '\0') {
        const std::string path = stampa::UsbDeviceFile(device);
        slot.write = OpenPath(path, GENERIC_WRITE);
        if (slot.write != INVALID_HANDLE_VALUE)
            slot.read = OpenPath(path + ".in", GENERIC_READ);
        return slot;
    }
    const std::string path = UsbPrinterPath(device);
    if (!path.empty()) {
        slot.write = OpenPath(path, GENERIC_READ | GENERIC_WRITE);
        slot.read = slot.write;
    }
    return slot;
}

void CloseSlot(const Slot& slot) {
    if (slot.read != INVALID_HANDLE_VALUE && slot.read != slot.write)
        CloseHandle(slot.read);
    if (slot.write != INVALID_HANDLE_VALUE)
        CloseHandle(slot.write);
}

// One overlapped transfer, waited for at most `waitMs`; the bytes moved, or
// -1 on failure. A transfer still running at the end of the wait is cancelled.
long Transfer(HANDLE handle, bool write, void* bytes, DWORD count, DWORD waitMs, bool& timedOut) {
    OVERLAPPED o{};
    o.hEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (o.hEvent == nullptr)
        return -1;
    DWORD moved = 0;
    BOOL ok = write ? WriteFile(handle, bytes, count, nullptr, &o)
                    : ReadFile(handle, bytes, count, nullptr, &o);
    if (!ok && GetLastError() == ERROR_IO_PENDING) {
        timedOut = WaitForSingleObject(o.hEvent, waitMs) == WAIT_TIMEOUT;
        if (timedOut)
            CancelIoEx(handle, &o);
        ok = GetOverlappedResult(handle, &o, &moved, TRUE);
    } else if (ok) {
        ok = GetOverlappedResult(handle, &o, &moved, TRUE);
    }
    CloseHandle(o.hEvent);
    return ok || (timedOut && moved > 0) ? static_cast<long>(moved) : (timedOut ? 0 : -1);
}

}  // namespace

extern "C" {

QzHandle OpenDeviceX(int device) {
    if (device < 0 || device >= kMaxDevices)
        return 0;
    const Slot slot = OpenSlot(device);
    if (slot.write == INVALID_HANDLE_VALUE)
        return 0;
    std::lock_guard lock(slotsMutex);
    for (int i = 0; i < kSlots; ++i) {
        if (slots[i].write == INVALID_HANDLE_VALUE) {
            slots[i] = slot;
            return i + 1;
        }
    }
    CloseSlot(slot);
    return 0;
}

int CloseDevice(QzHandle handle) {
    Slot slot;
    {
        std::lock_guard lock(slotsMutex);
        if (handle < 1 || handle > kSlots || slots[handle - 1].write == INVALID_HANDLE_VALUE)
            return 0;
        slot = slots[handle - 1];
        slots[handle - 1] = Slot{};
    }
    CloseSlot(slot);
    return 1;
}

int uWrite(QzHandle handle, int /*pipe*/, const void* bytes, int count) {
    const HANDLE device = SlotOf(handle).write;
    if (device == INVALID_HANDLE_VALUE || bytes == nullptr || count <= 0)
        return 0;
    auto* p = static_cast<unsigned char*>(const_cast<void*>(bytes));
    const DWORD stallLimit = StallLimitMs();
    int written = 0;
    while (written < count) {
        bool timedOut = false;
        const long n = Transfer(device, true, p + written, static_cast<DWORD>(count - written),
                                stallLimit, timedOut);
        if (n > 0) {
            written += static_cast<int>(n);
            continue;
        }
        errno = timedOut ? ETIMEDOUT : EIO;  // stalled, or the device went away
        break;
    }
    return written;
}

int uRead(QzHandle handle, int /*pipe*/, void* bytes, int count) {
    const HANDLE device = SlotOf(handle).read;
    if (device == INVALID_HANDLE_VALUE || bytes == nullptr || count <= 0) {
        errno = device == INVALID_HANDLE_VALUE ? EOPNOTSUPP : EINVAL;
        return -1;
    }
    bool timedOut = false;
    const long n = Transfer(device, false, bytes, static_cast<DWORD>(count), kReadWaitMs, timedOut);
    if (n < 0 && GetLastError() == ERROR_HANDLE_EOF)
        return 0;  // a file with nothing more in it
    if (n < 0)
        errno = EIO;
    return static_cast<int>(n);
}

}  // extern "C"
