// The one writer through which every byte reaches the printer, and the release
// of a link.
//
// A session's PortHandle belongs to the connection it was registered with, and
// PortWrite and PortClose use that connection's own kind of link, whatever the
// session's PortKind says meanwhile (the configuration page changes PortKind as
// soon as another link button is clicked, before OK).
#pragma once

#include <memory>

#include "link/link_error.h"
#include "link/link_state.h"
#include "link/transport.h"

namespace stampa {

// Non-zero when all `length` bytes were delivered to the link of `handle`; 0
// when the handle is -1, the length is below 1, the handle names no open
// connection, or the link failed. Blocks until the transport took the bytes or
// its time-out passed.
int PortWrite(PortHandleValue handle, const unsigned char* bytes, int length);

// The bytes PortWrite delivered to the connection of `handle` since it opened
// (0 for none).
long long PortBytesWritten(PortHandleValue handle);

// While watched, PortWrite hands a long write to the link in parts of at most
// kWatchedWritePart bytes and tells `watcher` the bytes written after each, so
// a download's progress follows the bytes the link took, not the commands.
// An empty watcher ends the watching. The printer receives the same bytes.
inline constexpr int kWatchedWritePart = 4096;
void PortWatchWrites(PortHandleValue handle, WriteWatcher watcher);

// Why the session's link last failed: the open connection's last failure,
// else why the last open failed (LinkStep::None when neither did).
LinkError LastLinkError(const LinkState& link);

// Releases the link of `handle` with its own kind's routine and forgets the
// handle; the result is that routine's (non-zero on success). A handle of -1,
// or one whose link is already gone, releases nothing and gives 1 — but with
// -1 and the parallel kind `chosen`, the port I/O driver a failed parallel
// open left loaded is shut down.
int PortClose(PortHandleValue handle, PortKindValue chosen = kNoLink);

// Waits until what was written to `handle` has reached the printer (the
// network link's send queue is empty). Non-zero when it has; 0 for the handle
// -1, an unknown or closed handle, or a printer that stopped taking bytes.
int PortFlush(PortHandleValue handle);

// Reading the printer's answers on the connection of `handle`. PortCanRead is
// false for the handle -1, a closed connection, and the parallel and spooler
// links. PortRead gives the bytes read, 0 when none came within `timeoutMs`,
// -1 when the link cannot read or failed. PortDiscardInput drops what the
// printer sent and nobody read (before a question, so an old answer is not
// taken for the new one's).
bool PortCanRead(PortHandleValue handle);
int PortRead(PortHandleValue handle, unsigned char* buffer, int max, int timeoutMs);
void PortDiscardInput(PortHandleValue handle);

// The spooler link's documents, on the connection of `handle`.
// True when `handle` is an open connection of the spooler (driver) kind.
bool IsDriverConnection(PortHandleValue handle);
// Start and end a document; non-zero on success, 0 for any other kind of link.
int PortStartDocument(PortHandleValue handle, const DocInfo& info);
int PortEndDocument(PortHandleValue handle);

// Makes an opened connection reachable through `handle` (the value the open
// routine of its kind produced: a descriptor, a device handle, a token).
// A connection already registered under that handle is closed first.
void RegisterConnection(PortHandleValue handle, std::shared_ptr<Transport> connection);

// Registers a connection under a handle of the table's own, for links whose
// system gives no number (the spooler's printers, Windows' ports); the handle.
PortHandleValue RegisterNewConnection(std::shared_ptr<Transport> connection);

// Forgets a handle without releasing its link.
void UnregisterConnection(PortHandleValue handle);

// The connection of a handle, nullptr when none is registered.
std::shared_ptr<Transport> FindConnection(PortHandleValue handle);

}  // namespace stampa
