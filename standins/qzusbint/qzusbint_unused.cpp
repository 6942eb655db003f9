// The eight entry points the program binds but never calls: present and
// harmless on every platform.
#include "link/usb/usb_interface.h"

extern "C" {

int ResetPipes(QzHandle) {
    return 0;
}
int VendorRequest(QzHandle, int, int, int, void*, int) {
    return 0;
}
int GetDescriptor(QzHandle, int, int, void*, int) {
    return 0;
}
int GetConfiguration(QzHandle, void*) {
    return 0;
}
int GetDeviceStatus(QzHandle, void*) {
    return 0;
}
int GetPipeInfo(QzHandle, int, void*) {
    return 0;
}
int AbortPipes(QzHandle) {
    return 0;
}
#ifndef QZUSB_WITHOUT_SETINTERFACE
int SetInterface(QzHandle, int, int) {
    return 0;
}
#endif

}  // extern "C"
