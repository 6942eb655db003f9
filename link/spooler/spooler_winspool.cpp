// The spooler link on Windows: the print spooler's local printers, one RAW
// document per run of the jobs.
#include <windows.h>
#include <winspool.h>
// The link's own OpenPrinter, not the spooler's character-set macro.
#undef OpenPrinter

#include <atomic>
#include <cerrno>
#include <memory>
#include <mutex>
#include <vector>

#include "link/link_error.h"
#include "link/port.h"
#include "link/spooler/spooler_link.h"
#include "link/transport.h"
#include "link/win32_error.h"

namespace stampa {
namespace {

class SpoolerTransport final : public Transport {
  public:
    SpoolerTransport(std::string printer, HANDLE handle)
        : printer_(std::move(printer)), handle_(handle) {}
    ~SpoolerTransport() override { Close(); }

    PortKindValue Kind() const override { return kDriverLink; }
    bool Closed() const override { return closed_; }  // never waits

    int StartDocument(const DocInfo& info) override {
        std::lock_guard lock(mutex_);
        if (closed_ || documentOpen_) {
            return 0;
        }
        DOC_INFO_1A doc{};
        doc.pDocName = const_cast<char*>(info.documentName.c_str());
        doc.pOutputFile =
            info.outputFile.empty() ? nullptr : const_cast<char*>(info.outputFile.c_str());
        doc.pDatatype = const_cast<char*>(info.dataType.c_str());
        if (StartDocPrinterA(handle_, 1, reinterpret_cast<BYTE*>(&doc)) == 0) {
            NoteError(WindowsLinkError(LinkStep::Open, GetLastError(), printer_));
            return 0;  // the queue refused the document
        }
        documentOpen_ = true;
        return 1;
    }

    int Write(const unsigned char* bytes, int length) override {
        std::unique_lock lock(mutex_);
        DWORD written = 0;
        const bool ok = !closed_ && documentOpen_ &&
                        WritePrinter(handle_, const_cast<unsigned char*>(bytes),
                                     static_cast<DWORD>(length), &written) &&
                        written == static_cast<DWORD>(length);
        if (ok) {
            return 1;
        }
        NoteError(WindowsLinkError(LinkStep::Write, GetLastError(), printer_));
        lock.unlock();
        EndDocument();  // a failed or short write ends the document and closes the printer
        Close();
        return 0;
    }

    int EndDocument() override {
        std::lock_guard lock(mutex_);
        if (closed_ || !documentOpen_) {
            return 0;
        }
        documentOpen_ = false;
        return EndDocPrinter(handle_) ? 1 : 0;
    }

    int Close() override {
        std::lock_guard lock(mutex_);
        if (!closed_) {
            if (documentOpen_) {
                EndDocPrinter(handle_);
                documentOpen_ = false;
            }
            ClosePrinter(handle_);
            closed_ = true;
        }
        return 1;
    }

  private:
    std::mutex mutex_;
    std::string printer_;
    HANDLE handle_;
    std::atomic<bool> closed_{false};
    bool documentOpen_ = false;
};

}  // namespace

std::vector<std::string> EnumeratePrinters(bool* ok) {
    // First with a small buffer to learn the size, then with a buffer of that size.
    std::vector<BYTE> buffer(84);
    DWORD needed = 0;
    DWORD count = 0;
    BOOL listed = EnumPrintersA(PRINTER_ENUM_LOCAL, nullptr, 2, buffer.data(),
                                static_cast<DWORD>(buffer.size()), &needed, &count);
    if (!listed && GetLastError() == ERROR_INSUFFICIENT_BUFFER) {
        buffer.resize(needed);
        listed = EnumPrintersA(PRINTER_ENUM_LOCAL, nullptr, 2, buffer.data(),
                               static_cast<DWORD>(buffer.size()), &needed, &count);
    }
    std::vector<std::string> names;
    if (listed) {
        const auto* printers = reinterpret_cast<const PRINTER_INFO_2A*>(buffer.data());
        for (DWORD i = 0; i < count; ++i) {
            if (printers[i].pPrinterName != nullptr) {
                names.emplace_back(printers[i].pPrinterName);
            }
        }
    }
    if (ok != nullptr) {
        *ok = listed != 0;
    }
    return names;
}

PortHandleValue OpenPrinter(const std::string& name, LinkError* why) {
    HANDLE handle = nullptr;
    if (name.empty() || !OpenPrinterA(const_cast<char*>(name.c_str()), &handle, nullptr)) {
        const DWORD code = name.empty() ? ERROR_INVALID_PRINTER_NAME : GetLastError();
        NoteWindowsLinkError(why, LinkStep::Open, code, name);
        return kNoHandle;
    }
    return RegisterNewConnection(std::make_shared<SpoolerTransport>(name, handle));
}

}  // namespace stampa
