// The spooler link on Linux, through CUPS.
#include "link/spooler/spooler_link.h"

#include <cups/cups.h>

#include <atomic>
#include <cerrno>
#include <memory>
#include <mutex>

#include "link/link_error.h"
#include "link/port.h"
#include "link/transport.h"

namespace stampa {
namespace {

// An open queue: one job per document, raw data written into it.
class SpoolerTransport final : public Transport {
  public:
    SpoolerTransport(std::string printer, http_t* http)
        : printer_(std::move(printer)), http_(http) {}
    ~SpoolerTransport() override { Close(); }

    PortKindValue Kind() const override { return kDriverLink; }
    bool Closed() const override { return closed_; }  // never waits

    int StartDocument(const DocInfo& info) override {
        std::lock_guard lock(mutex_);
        if (http_ == nullptr || documentOpen_) {
            return 0;
        }
        const int job =
            cupsCreateJob(http_, printer_.c_str(), info.documentName.c_str(), 0, nullptr);
        if (job == 0) {
            NoteError(LinkStep::Open, 0, printer_, cupsLastErrorString());
            return 0;  // the queue refused the job (rejecting, unknown, ...)
        }
        const char* format = info.dataType == "RAW" ? CUPS_FORMAT_RAW : CUPS_FORMAT_AUTO;
        if (cupsStartDocument(http_, printer_.c_str(), job, info.documentName.c_str(), format, 1) !=
            HTTP_STATUS_CONTINUE) {
            cupsCancelJob2(http_, printer_.c_str(), job, 0);
            return 0;
        }
        documentOpen_ = true;
        return 1;
    }

    int Write(const unsigned char* bytes, int length) override {
        std::unique_lock lock(mutex_);
        const bool written =
            http_ != nullptr && documentOpen_ &&
            cupsWriteRequestData(http_, reinterpret_cast<const char*>(bytes),
                                 static_cast<std::size_t>(length)) == HTTP_STATUS_CONTINUE;
        if (written) {
            return 1;
        }
        NoteError(LinkStep::Write, 0, printer_, cupsLastErrorString());
        lock.unlock();
        EndDocument();  // a failed write ends the document and closes the printer
        Close();
        return 0;
    }

    int EndDocument() override {
        std::lock_guard lock(mutex_);
        if (http_ == nullptr || !documentOpen_) {
            return 0;
        }
        documentOpen_ = false;
        return cupsFinishDocument(http_, printer_.c_str()) <= IPP_STATUS_OK_EVENTS_COMPLETE ? 1 : 0;
    }

    int Close() override {
        std::lock_guard lock(mutex_);
        if (http_ != nullptr) {
            if (documentOpen_) {
                cupsFinishDocument(http_, printer_.c_str());
                documentOpen_ = false;
            }
            httpClose(http_);
            http_ = nullptr;
            closed_ = true;
        }
        return 1;
    }

  private:
    std::mutex mutex_;
    std::string printer_;
    http_t* http_;
    std::atomic<bool> closed_{false};
    bool documentOpen_ = false;
};

}  // namespace

std::vector<std::string> EnumeratePrinters(bool* ok) {
    cups_dest_t* dests = nullptr;
    const int count = cupsGetDests2(CUPS_HTTP_DEFAULT, &dests);
    std::vector<std::string> names;
    for (int i = 0; i < count; ++i) {
        if (dests[i].instance == nullptr) {
            names.emplace_back(dests[i].name);
        }
    }
    cupsFreeDests(count, dests);
    if (ok != nullptr) {
        *ok = count > 0 || cupsLastError() <= IPP_STATUS_OK_EVENTS_COMPLETE ||
              cupsLastError() == IPP_STATUS_ERROR_NOT_FOUND;
    }
    return names;
}

PortHandleValue OpenPrinter(const std::string& name, LinkError* why) {
    cups_dest_t* dest = cupsGetNamedDest(CUPS_HTTP_DEFAULT, name.c_str(), nullptr);
    if (dest == nullptr || name.empty()) {
        NoteLinkError(why, LinkStep::Open, ENOENT, name);
        cupsFreeDests(dest != nullptr ? 1 : 0, dest);
        return kNoHandle;
    }
    cupsFreeDests(1, dest);
    http_t* http = httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1,
                                30000, nullptr);
    if (http == nullptr) {
        NoteLinkError(why, LinkStep::Open, errno, cupsServer());
        return kNoHandle;
    }
    return RegisterNewConnection(std::make_shared<SpoolerTransport>(name, http));
}

}  // namespace stampa
