// The printer's answers come from a device anyone could be: the decoders on
// raw bytes, then every question — status, NV capacity and free capacity, the
// key list in blocks with its ACK/NAK/CAN answers — against a peer that
// answers each write with the next piece of the input. No input may make a
// question read past its buffer, write without end or wait past its bound.
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <deque>
#include <memory>
#include <vector>

#include "link/port.h"
#include "link/transport.h"
#include "protocol/answers.h"
#include "transfer/printer_queries.h"

namespace {

using Bytes = std::vector<unsigned char>;

// Input: pieces of a length byte and that many bytes; each write the peer
// takes releases the next piece as its answer, read back `chunk` bytes at a
// time. With nothing to read the link reports a failure at once (a silent
// printer would only make each run last the whole wait).
class ScriptedPeer final : public stampa::Transport {
  public:
    ScriptedPeer(const std::uint8_t* data, std::size_t size) {
        chunk_ = size > 0 ? 1 + data[0] % 8 : 1;
        for (std::size_t at = 1; at < size;) {
            const std::size_t length = std::min<std::size_t>(data[at], size - at - 1);
            answers_.emplace_back(data + at + 1, data + at + 1 + length);
            at += 1 + length;
        }
    }
    stampa::PortKindValue Kind() const override { return stampa::kUsbLink; }
    int Write(const unsigned char*, int) override {
        if (++writes_ > 1000)
            std::abort();  // an exchange that never ends
        if (!answers_.empty()) {
            pending_.insert(pending_.end(), answers_.front().begin(), answers_.front().end());
            answers_.pop_front();
        }
        return 1;
    }
    int Close() override { return 1; }
    bool Closed() const override { return false; }
    bool CanRead() const override { return true; }
    int Read(unsigned char* buffer, int max, int) override {
        if (pending_.empty())
            return -1;
        const int n = std::min({max, chunk_, static_cast<int>(pending_.size())});
        for (int i = 0; i < n; ++i) {
            buffer[i] = pending_.front();
            pending_.pop_front();
        }
        return n;
    }

  private:
    int chunk_;
    int writes_ = 0;
    std::deque<std::vector<unsigned char>> answers_;
    std::deque<unsigned char> pending_;
};

constexpr stampa::PortHandleValue kHandle = 7;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const Bytes raw(data, data + size);
    long long bytes = 0;
    stampa::ParseCapacityAnswer(raw, stampa::kCapacityAnswerId, bytes);
    stampa::KeyBlock block;
    stampa::ParseKeyBlock(raw, block);
    for (const unsigned char byte : raw)
        stampa::IsStatusByte(byte);

    const auto started = std::chrono::steady_clock::now();
    stampa::RegisterConnection(kHandle, std::make_shared<ScriptedPeer>(data, size));
    stampa::PrinterStatus status;
    stampa::QueryStatus(kHandle, status);
    stampa::QueryNvCapacity(kHandle, false, bytes);
    stampa::QueryNvCapacity(kHandle, true, bytes);
    std::vector<std::string> keys;
    if (stampa::QueryNvKeys(kHandle, keys) == stampa::QueryResult::Answered) {
        for (const std::string& key : keys) {
            if (key.size() != 2 || key[0] < 0x20 || key[0] > 0x7E || key[1] < 0x20 || key[1] > 0x7E)
                std::abort();  // only keys of two printable bytes are taken
        }
    }
    stampa::PortClose(kHandle);
    if (std::chrono::steady_clock::now() - started > std::chrono::milliseconds(4 * 2500))
        std::abort();  // four questions, each bounded by its wait
    return 0;
}
