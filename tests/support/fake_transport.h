// An in-process link for tests: keeps every write as one unit, and can fail a
// chosen call, delivering only part of it first, as a printer that goes away
// in the middle of a write does. Scripted, it answers what is written to it,
// in the pieces given (each comes out of a read of its own, split further when
// the reader takes fewer bytes), as a printer that reads and answers.
#pragma once

#include <algorithm>
#include <chrono>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
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

    // The next write of exactly `question` is answered with `pieces`; the
    // link can read from the first script on.
    void AnswerTo(std::vector<unsigned char> question,
                  std::vector<std::vector<unsigned char>> pieces) {
        std::lock_guard lock(mutex_);
        readable_ = true;
        script_.push_back({std::move(question), std::move(pieces)});
    }
    // Every write is handed to `printer` (a printer's interpreter, say), and
    // what it returns is read back, as from a printer that reads every byte.
    using Responder = std::function<std::vector<unsigned char>(const std::vector<unsigned char>&)>;
    void RespondWith(Responder printer) {
        std::lock_guard lock(mutex_);
        responder_ = std::move(printer);
    }
    // Bytes the printer sent before anyone asked.
    void Unasked(std::vector<unsigned char> bytes) {
        std::lock_guard lock(mutex_);
        pending_.push_back(std::move(bytes));
    }
    void SetReadable(bool readable) {
        std::lock_guard lock(mutex_);
        readable_ = readable;
    }
    bool CanRead() const override {
        std::lock_guard lock(mutex_);
        return readable_;
    }
    int Read(unsigned char* buffer, int max, int timeoutMs) override {
        {
            std::lock_guard lock(mutex_);
            if (!readable_ || closed_)
                return -1;
            if (!pending_.empty()) {
                auto& piece = pending_.front();
                const int n = std::min(max, static_cast<int>(piece.size()));
                std::copy(piece.begin(), piece.begin() + n, buffer);
                piece.erase(piece.begin(), piece.begin() + n);
                if (piece.empty())
                    pending_.pop_front();
                return n;
            }
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(timeoutMs));  // a silent printer
        return 0;
    }

    int Write(const unsigned char* bytes, int length) override {
        std::lock_guard lock(mutex_);
        if (closed_) {
            return 0;
        }
        const std::vector<unsigned char> written(bytes, bytes + length);
        const auto rule = std::find_if(script_.begin(), script_.end(),
                                       [&written](const Rule& r) { return r.question == written; });
        if (rule != script_.end()) {
            pending_.insert(pending_.end(), rule->pieces.begin(), rule->pieces.end());
            script_.erase(rule);
        }

        ++calls_;
        if (calls_ == failAt_) {
            const int n = std::min(deliveredOnFailure_, length);
            if (n > 0)
                writes_.emplace_back(bytes, bytes + n);
            closed_ = closeOnFailure_;
            return 0;
        }
        if (responder_) {
            if (auto answer = responder_(written); !answer.empty())
                pending_.push_back(std::move(answer));
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
    struct Rule {
        std::vector<unsigned char> question;
        std::vector<std::vector<unsigned char>> pieces;
    };

    mutable std::mutex mutex_;
    PortKindValue kind_;
    bool readable_ = false;
    std::deque<Rule> script_;
    Responder responder_;
    std::deque<std::vector<unsigned char>> pending_;
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

// Registers a fake as the open link of `link` (its PortHandle) and returns it.
inline std::shared_ptr<FakeTransport> ConnectFake(LinkState& link, PortKindValue kind = kUsbLink,
                                                  PortHandleValue handle = 4242) {
    auto fake = std::make_shared<FakeTransport>(kind);
    RegisterConnection(handle, fake);
    link.PortHandle = handle;
    link.PortKind = kind;
    return fake;
}

}  // namespace stampa::test
