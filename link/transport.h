// One open connection to the printer, of one kind of link. Each kind (serial,
// parallel, spooler, USB) has a backend implementing this; tests use fakes.
//
// Threads. A connection is used by the user-interface thread (connecting,
// printing, closing) and by the download worker (writing), one at a time by
// the program's rules: printing and connecting are refused while a download
// sends, and the program does not end then. Backends do not rely on those
// rules: every call may come from any thread, also at the same time.
//  - Write, Flush, Close, StartDocument and EndDocument are serialised by the
//    backend's own lock; a Close that arrives during a Write waits for it, and
//    every Write ends within the link's own time-out.
//  - Read is serialised with the others by the same lock and ends within its
//    own time-out.
//  - Closed() never waits; it may be called at any time.
//  - After Close (or a Write that killed the link) nothing reaches the device.
#pragma once

#include <atomic>
#include <functional>
#include <mutex>

#include "link/doc_info.h"
#include "link/link_error.h"
#include "link/link_state.h"

namespace stampa {

// Told the connection's bytes written so far, on the writing thread, as the
// link takes the parts of a write (a progress bar's source).
using WriteWatcher = std::function<void(long long bytesWritten)>;

class Transport {
  public:
    virtual ~Transport() = default;

    // The kind of link the connection was opened as.
    virtual PortKindValue Kind() const = 0;

    // Delivers `length` (>= 1) bytes. Non-zero when all of them went to the
    // transport, 0 otherwise. A backend whose link dies on a failed write closes
    // it itself (Closed() is then true) and never writes again.
    virtual int Write(const unsigned char* bytes, int length) = 0;

    // Releases the link. Non-zero on success. Does nothing more once closed.
    virtual int Close() = 0;

    virtual bool Closed() const = 0;

    // Waits until the bytes written have reached the printer, as far as the
    // link can tell: non-zero when they have. Only the network link has a
    // queue of its own to wait for; a failed flush closes the link.
    virtual int Flush() { return 1; }

    // Reading the printer's answers: serial, USB and network links can; the
    // parallel and spooler links cannot (Read gives -1 there).
    virtual bool CanRead() const { return false; }

    // Up to `max` bytes the printer sent, waiting at most `timeoutMs` for the
    // first: the number read, 0 when nothing came in time, -1 when the link
    // cannot read or failed.
    virtual int Read(unsigned char* /*buffer*/, int /*max*/, int /*timeoutMs*/) { return -1; }

    // Documents exist on the spooler link only: every run of the jobs there is
    // one document. Non-zero on success; the other kinds have none to start.
    virtual int StartDocument(const DocInfo& /*info*/) { return 0; }
    virtual int EndDocument() { return 0; }

    // Why the connection last failed (LinkStep::None while it has not), kept
    // by the backend at the point of failure; any thread may ask.
    LinkError LastError() const {
        std::lock_guard lock(errorMutex_);
        return lastError_;
    }

    // The bytes PortWrite delivered through this connection.
    long long BytesWritten() const { return bytesWritten_; }
    void CountWritten(long long bytes) { bytesWritten_ += bytes; }

    // Who is told of the writes (PortWatchWrites); empty for nobody.
    void SetWriteWatcher(WriteWatcher watcher) {
        std::lock_guard lock(errorMutex_);
        watcher_ = std::move(watcher);
    }
    WriteWatcher Watcher() const {
        std::lock_guard lock(errorMutex_);
        return watcher_;
    }

  protected:
    void NoteError(LinkStep step, int osError, const std::string& device,
                   const std::string& detail = {}) {
        NoteError(LinkError{step, osError, device, detail});
    }
    void NoteError(const LinkError& error) {
        std::lock_guard lock(errorMutex_);
        lastError_ = error;
    }

  private:
    mutable std::mutex errorMutex_;  // guards the last error and the watcher
    LinkError lastError_;
    WriteWatcher watcher_;
    std::atomic<long long> bytesWritten_{0};
};

}  // namespace stampa
