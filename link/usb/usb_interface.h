/* QzUsbInt: the USB interface library of the printer maker, as Stampa binds it
 * by name: the twelve entry points the program resolves, with their types and
 * what it expects of them. Our stand-in (standins/qzusbint) implements this
 * header over the Linux USB printer class devices (/dev/usb/lp0 .. lp7).
 *
 * OpenDeviceX, uWrite, uRead and CloseDevice are called; the eight others must
 * be present so that binding finds all twelve, and the stand-in returns 0 from them.
 *
 * The stand-in's device folder is /dev/usb unless the environment variable
 * QZUSB_DEVICE_DIR names another (the virtual printer and the tests use a
 * folder of FIFOs named lp0 .. lp7; the printer's answers come back through a
 * FIFO beside each, lp0.in .. lp7.in). */
#ifndef QZUSBINT_H
#define QZUSBINT_H

#ifdef __cplusplus
extern "C" {
#endif

#if defined(QZUSB_BUILDING) && defined(_WIN32)
#define QZUSB_EXPORT __declspec(dllexport)
#elif defined(QZUSB_BUILDING)
#define QZUSB_EXPORT __attribute__((visibility("default")))
#else
#define QZUSB_EXPORT
#endif

/* A handle of an open device; 0 is none. */
typedef long QzHandle;

/* Opens device `device` (0..7). Non-zero handle when the device is present and
 * now open; 0 otherwise. A device file with nobody on its other end (a FIFO
 * without a reader) is not present. */
QZUSB_EXPORT QzHandle OpenDeviceX(int device);

/* Closes a handle from OpenDeviceX. 1 when it was open, 0 otherwise. */
QZUSB_EXPORT int CloseDevice(QzHandle handle);

/* Writes `count` bytes to the device, waiting while the device takes them.
 * Returns the number of bytes written: `count` on success, fewer when the
 * device went away or failed, or took no byte for 5000 ms (the stall limit;
 * the stand-in reads another from QZUSB_STALL_MS). errno then says why
 * (ETIMEDOUT for a stall). A broken pipe never raises SIGPIPE in the caller.
 * `pipe` is always 0. */
QZUSB_EXPORT int uWrite(QzHandle handle, int pipe, const void* bytes, int count);

/* Reads what the printer sent, at most `count` bytes, waiting up to 100 ms for
 * the first. Returns the number read; 0 when nothing came; -1 when the device
 * cannot be read or failed (errno says why). `pipe` is always 0. */
QZUSB_EXPORT int uRead(QzHandle handle, int pipe, void* bytes, int count);

/* The other entry points: present, harmless, always 0. */
QZUSB_EXPORT int ResetPipes(QzHandle handle);
QZUSB_EXPORT int VendorRequest(QzHandle handle, int request, int value, int index, void* data,
                               int length);
QZUSB_EXPORT int GetDescriptor(QzHandle handle, int type, int index, void* buffer, int length);
QZUSB_EXPORT int GetConfiguration(QzHandle handle, void* buffer);
QZUSB_EXPORT int GetDeviceStatus(QzHandle handle, void* status);
QZUSB_EXPORT int GetPipeInfo(QzHandle handle, int pipe, void* info);
QZUSB_EXPORT int AbortPipes(QzHandle handle);
#ifndef QZUSB_WITHOUT_SETINTERFACE
QZUSB_EXPORT int SetInterface(QzHandle handle, int interfaceNumber, int alternate);
#endif

#ifdef __cplusplus
}
#endif

#endif /* QZUSBINT_H */
