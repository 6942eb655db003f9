// The USB link: a printer reached through the USB interface library.
#pragma once

#include <atomic>
#include <mutex>

#include <vector>

#include "link/link_state.h"
#include "link/transport.h"
#include "link/usb/usb_library.h"

namespace stampa {

// Writes of this many bytes or more go in 1024-byte pieces.
inline constexpr int kUsbSplitThreshold = 65536;
inline constexpr int kUsbPieceSize = 1024;

// A device opened with OpenDeviceX. A write that the library takes only in part
// closes the device; the link then counts as closed.
class UsbTransport final : public Transport {
  public:
    UsbTransport(const UsbLibrary& library, QzHandle handle, int device)
        : library_(library), handle_(handle), device_(device) {}

    PortKindValue Kind() const override { return kUsbLink; }
    int Write(const unsigned char* bytes, int length) override;
    int Close() override;  // always 1
    bool Closed() const override { return closed_; }
    bool CanRead() const override { return library_.uRead != nullptr; }
    int Read(unsigned char* buffer, int max, int timeoutMs) override;

  private:
    bool WritePiece(const unsigned char* bytes, int length);

    std::mutex mutex_;
    UsbLibrary library_;
    QzHandle handle_;
    int device_;  // 0..7, for naming the device when it fails
    std::atomic<bool> closed_{false};
};

// Opens device `device` (0..7) through the bound library and registers it.
// The handle, or -1 when the device is not present (why: in `*why`).
PortHandleValue UsbOpen(int device, LinkError* why = nullptr);

// The device numbers 0..7 that are present: each is opened and closed again at once.
std::vector<int> UsbProbeDevices();

}  // namespace stampa
