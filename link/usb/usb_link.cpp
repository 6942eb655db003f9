#include "link/usb/usb_link.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <memory>

#include "link/link_error.h"
#include "link/port.h"
#include "link/usb/usb_device_file.h"

namespace stampa {

bool UsbTransport::WritePiece(const unsigned char* bytes, int length) {
    errno = 0;
    if (library_.uWrite(handle_, 0, bytes, length) == length) {
        return true;
    }
    NoteError(LinkStep::Write, errno, UsbDeviceFile(device_));
    library_.CloseDevice(handle_);
    closed_ = true;
    return false;
}

int UsbTransport::Write(const unsigned char* bytes, int length) {
    std::lock_guard lock(mutex_);
    if (closed_ || length < 1) {
        return 0;
    }
    if (length < kUsbSplitThreshold) {
        return WritePiece(bytes, length) ? 1 : 0;
    }
    // Large writes: whole 1024-byte pieces, then the rest, each copied into a
    // zero-filled staging buffer one byte longer than a piece.
    std::array<unsigned char, kUsbPieceSize + 1> staging{};
    for (int offset = 0; offset < length; offset += kUsbPieceSize) {
        const int piece = std::min(kUsbPieceSize, length - offset);
        staging.fill(0);
        std::memcpy(staging.data(), bytes + offset, static_cast<std::size_t>(piece));
        if (!WritePiece(staging.data(), piece)) {
            return 0;
        }
    }
    return 1;
}

// The library waits a little for each read; this waits out the caller's time-out.
int UsbTransport::Read(unsigned char* buffer, int max, int timeoutMs) {
    std::lock_guard lock(mutex_);
    if (closed_ || library_.uRead == nullptr) {
        return -1;
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        const int n = library_.uRead(handle_, 0, buffer, max);
        if (n != 0 || std::chrono::steady_clock::now() >= deadline) {
            return n < 0 ? -1 : n;
        }
    }
}

int UsbTransport::Close() {
    std::lock_guard lock(mutex_);
    if (!closed_) {
        library_.CloseDevice(handle_);
        closed_ = true;
    }
    return 1;
}

PortHandleValue UsbOpen(int device, LinkError* why) {
    const UsbLibrary& library = QzUsb();
    if (library.OpenDeviceX == nullptr) {
        return kNoHandle;
    }
    errno = 0;
    const QzHandle handle = library.OpenDeviceX(device);
    if (handle == 0) {
        NoteLinkError(why, LinkStep::Open, errno, UsbDeviceFile(device));
        return kNoHandle;
    }
    const auto value = static_cast<PortHandleValue>(handle);
    RegisterConnection(value, std::make_shared<UsbTransport>(library, handle, device));
    return value;
}

std::vector<int> UsbProbeDevices() {
    std::vector<int> present;
    const UsbLibrary& library = QzUsb();
    if (library.OpenDeviceX == nullptr) {
        return present;
    }
    for (int device = 0; device < 8; ++device) {
        if (const QzHandle handle = library.OpenDeviceX(device)) {
            library.CloseDevice(handle);
            present.push_back(device);
        }
    }
    return present;
}

}  // namespace stampa
