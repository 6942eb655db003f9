// Where the USB interface library finds printer n: /dev/usb/lpN, or lpN in the
// folder QZUSB_DEVICE_DIR names (the virtual printer's FIFOs). Shared by the
// stand-in, which opens it, and the link, which names it when it fails.
#pragma once

#include <cstdlib>
#include <string>

namespace stampa {

inline std::string UsbDeviceFile(int device) {
    const char* dir = std::getenv("QZUSB_DEVICE_DIR");
    const std::string folder = (dir != nullptr && *dir != '\0') ? dir : "/dev/usb";
    return folder + "/lp" + std::to_string(device);
}

}  // namespace stampa
