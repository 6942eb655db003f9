// An in-process link for tests: keeps every write as one unit, and can fail a
// chosen call, delivering only part of it first, as a printer that goes away
// in the middle of a write does.
#pragma once

#include <algorithm>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "link/port.h"
#include "link/transport.h"

namespace stampa::test {

class FakeTransport final : public Transport {
  public:
    explicit FakeTransport(PortKindValue kind = kUsbLink) : kind_(kind) {}

    // The call (counting from 1) that fails, after delivering `delivered` bytes of it.
    // closeOnFailure: the link dies with the failed write (USB and spooler links).
    void FailAtCall(int call, int delivered = 0, bool closeOnFailure = true) {
        std::lock_guard lock(mutex_);
        failAt_ = call;
        deliveredOnFailure_ = delivered;
        closeOnFailure_ = closeOnFailure;
    }

    PortKindValue Kind() const override { return kind_; }

    int Write(const unsigned char* bytes, int length) override {
        std::lock_guard lock(mutex_);
        if (closed_) {
            return 0;
        }
        ++calls_;
        if (calls_ == failAt_) {
            const int n = std::min(deliveredOnFailure_, length);
            if (n > 0)
                writes_.emplace_back(bytes, bytes + n);
            closed_ = closeOnFailure_;
            return 0;
        }
        writes_.emplace_back(bytes, bytes + length);
        return 1;
    }

    int Close() override {
        std::lock_guard lock(mutex_);
        ++closeCalls_;
        closed_ = true;
        return 1;
    }
    bool Closed() const override {
        std::lock_guard lock(mutex_);
        return closed_;
    }

    // Documents, on a fake of the spooler kind: "start NAME TYPE" and "end".
    int StartDocument(const DocInfo& info) override {
        std::lock_guard lock(mutex_);
        if (kind_ != kDriverLink)
            return 0;
        documents_.push_back("start " + info.documentName + " " + info.dataType);
        return refuseStart_ ? 0 : 1;
    }
    int EndDocument() override {
        std::lock_guard lock(mutex_);
        if (kind_ != kDriverLink)
            return 0;
        documents_.push_back("end");
        return refuseEnd_ ? 0 : 1;
    }
    void RefuseDocuments(bool start, bool end) {
        std::lock_guard lock(mutex_);
        refuseStart_ = start;
        refuseEnd_ = end;
    }
    std::vector<std::string> Documents() const {
        std::lock_guard lock(mutex_);
        return documents_;
    }
    void ClearDocuments() {
        std::lock_guard lock(mutex_);
        documents_.clear();
    }

    std::vector<std::vector<unsigned char>> Writes() const {
        std::lock_guard lock(mutex_);
        return writes_;
    }
    // Everything delivered, as one stream.
    std::vector<unsigned char> Stream() const {
        std::lock_guard lock(mutex_);
        std::vector<unsigned char> all;
        for (const auto& w : writes_)
            all.insert(all.end(), w.begin(), w.end());
        return all;
    }
    int CloseCalls() const {
        std::lock_guard lock(mutex_);
        return closeCalls_;
    }

  private:
    mutable std::mutex mutex_;
    PortKindValue kind_;
    std::vector<std::vector<unsigned char>> writes_;
    int calls_ = 0;
    int failAt_ = 0;
    int deliveredOnFailure_ = 0;
    bool closeOnFailure_ = true;
    bool closed_ = false;
    int closeCalls_ = 0;
    std::vector<std::string> documents_;
    bool refuseStart_ = false;
    bool refuseEnd_ = false;
};

// Registers a fake as the open link (PortHandle) and returns it.
inline std::shared_ptr<FakeTransport> ConnectFake(PortKindValue kind = kUsbLink,
                                                  PortHandleValue handle = 4242) {
    auto fake = std::make_shared<FakeTransport>(kind);
    RegisterConnection(handle, fake);
    PortHandle = handle;
    PortKind = kind;
    return fake;
}

}  // namespace stampa::test
