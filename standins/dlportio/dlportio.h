/* DLPortIO: the port I/O library the parallel link binds by name. Our own
 * library with the twelve entry points, reading and writing port registers
 * through one of two backends, chosen by the library itself:
 *
 *  - a simulated port, when the environment variable DLPORTIO_SIM names a
 *    shared file (the virtual printer's --lpt-sim creates it);
 *  - real hardware through Linux ppdev otherwise: a base address selects the
 *    parportN whose /proc/sys/dev/parport/parportN/base-addr starts with it;
 *    /dev/parportN is opened and claimed on first use. base+0 is the data
 *    register, base+1 the status register, base+2 the control register, all as
 *    raw register values.
 *
 * Registers the library does not know read as 0xFF and ignore writes. */
#ifndef DLPORTIO_H
#define DLPORTIO_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#if defined(DLPORTIO_BUILDING) && defined(_WIN32)
#define DLPORTIO_EXPORT __declspec(dllexport)
#elif defined(DLPORTIO_BUILDING)
#define DLPORTIO_EXPORT __attribute__((visibility("default")))
#else
#define DLPORTIO_EXPORT
#endif

DLPORTIO_EXPORT uint8_t DlPortReadPortUchar(uint32_t port);
DLPORTIO_EXPORT uint16_t DlPortReadPortUshort(uint32_t port);
DLPORTIO_EXPORT uint32_t DlPortReadPortUlong(uint32_t port);
DLPORTIO_EXPORT void DlPortWritePortUchar(uint32_t port, uint8_t value);
DLPORTIO_EXPORT void DlPortWritePortUshort(uint32_t port, uint16_t value);
DLPORTIO_EXPORT void DlPortWritePortUlong(uint32_t port, uint32_t value);
DLPORTIO_EXPORT void DlPortReadPortBufferUchar(uint32_t port, uint8_t* buffer, uint32_t count);
DLPORTIO_EXPORT void DlPortReadPortBufferUshort(uint32_t port, uint16_t* buffer, uint32_t count);
DLPORTIO_EXPORT void DlPortReadPortBufferUlong(uint32_t port, uint32_t* buffer, uint32_t count);
DLPORTIO_EXPORT void DlPortWritePortBufferUchar(uint32_t port, const uint8_t* buffer,
                                                uint32_t count);
DLPORTIO_EXPORT void DlPortWritePortBufferUshort(uint32_t port, const uint16_t* buffer,
                                                 uint32_t count);
DLPORTIO_EXPORT void DlPortWritePortBufferUlong(uint32_t port, const uint32_t* buffer,
                                                uint32_t count);

#ifdef __cplusplus
}
#endif

#endif /* DLPORTIO_H */
