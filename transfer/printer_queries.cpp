#include "transfer/printer_queries.h"

#include <chrono>
#include <functional>

#include "link/port.h"
#include "protocol/commands.h"

namespace stampa {
namespace {

using Clock = std::chrono::steady_clock;
using Received = std::vector<unsigned char>;

// The most key-list blocks taken from one printer: it holds at most a few hundred keys.
constexpr int kMaxBlocks = 64;

// The question sent, with what was left of an earlier answer dropped first.
QueryResult Ask(PortHandleValue handle, const Bytes& question) {
    if (!PortCanRead(handle)) {
        return QueryResult::CannotRead;
    }
    PortDiscardInput(handle);
    return PortWrite(handle, question.data(), static_cast<int>(question.size())) != 0
               ? QueryResult::Answered
               : QueryResult::LinkFailed;
}

bool Send(PortHandleValue handle, unsigned char byte) {
    return PortWrite(handle, &byte, 1) != 0;
}

// Reads until `parse` finds the answer whole or broken, within the wait.
QueryResult ReadAnswer(PortHandleValue handle,
                       const std::function<AnswerState(const Received&)>& parse,
                       int waitMs = kAnswerWaitMs) {
    const auto deadline = Clock::now() + std::chrono::milliseconds(waitMs);
    Received received;
    unsigned char buffer[64];
    for (;;) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0) {
            return received.empty() ? QueryResult::NoAnswer : QueryResult::Garbled;
        }
        // One byte at a time past the start, so nothing after the answer is taken.
        const int n = PortRead(handle, buffer, 1, static_cast<int>(left));
        if (n < 0) {
            return QueryResult::LinkFailed;
        }
        received.insert(received.end(), buffer, buffer + n);
        if (n > 0) {
            const AnswerState state = parse(received);
            if (state == AnswerState::Complete)
                return QueryResult::Answered;
            if (state == AnswerState::Malformed)
                return QueryResult::Garbled;
        }
    }
}

// One real-time status byte; a byte without the status pattern is no answer to it.
QueryResult ReadStatusByte(PortHandleValue handle, unsigned char& byte) {
    return ReadAnswer(handle, [&byte](const Received& r) {
        byte = r[0];
        return IsStatusByte(byte) ? AnswerState::Complete : AnswerState::Malformed;
    });
}

}  // namespace

QueryResult QueryStatus(PortHandleValue handle, PrinterStatus& status) {
    unsigned char answers[3] = {};
    const int requests[3] = {1, 2, 4};
    for (int i = 0; i < 3; ++i) {
        if (const QueryResult asked = Ask(handle, RealTimeStatusCommand(requests[i]));
            asked != QueryResult::Answered) {
            return asked;
        }
        if (const QueryResult read = ReadStatusByte(handle, answers[i]);
            read != QueryResult::Answered) {
            return read;
        }
    }
    status = DecodeStatus(answers[0], answers[1], answers[2]);
    return QueryResult::Answered;
}

QueryResult QueryNvCapacity(PortHandleValue handle, bool free, long long& bytes) {
    const QueryResult asked =
        Ask(handle, free ? NvFreeCapacityQueryCommand() : NvCapacityQueryCommand());
    if (asked != QueryResult::Answered) {
        return asked;
    }
    const unsigned char identifier = free ? kFreeCapacityAnswerId : kCapacityAnswerId;
    return ReadAnswer(handle, [&bytes, identifier](const Received& r) {
        return ParseCapacityAnswer(r, identifier, bytes);
    });
}

QueryResult QueryNvKeys(PortHandleValue handle, std::vector<std::string>& keys, int waitMs) {
    if (const QueryResult asked = Ask(handle, NvKeyListQueryCommand());
        asked != QueryResult::Answered) {
        return asked;
    }
    std::vector<std::string> all;
    bool retried = false;
    for (int blocks = 0; blocks < kMaxBlocks;) {
        KeyBlock block;
        const QueryResult read = ReadAnswer(
            handle, [&block](const Received& r) { return ParseKeyBlock(r, block); }, waitMs);
        if (read == QueryResult::Garbled && !retried) {
            retried = true;
            PortDiscardInput(handle);  // the rest of the broken block
            if (!Send(handle, NAK))
                return QueryResult::LinkFailed;
            continue;
        }
        if (read == QueryResult::Garbled) {
            Send(handle, CAN);
            return QueryResult::Garbled;
        }
        if (read != QueryResult::Answered) {
            return read;
        }
        all.insert(all.end(), block.keys.begin(), block.keys.end());
        // Every block is answered, the last one too: the printer waits for it.
        if (!Send(handle, ACK))
            return QueryResult::LinkFailed;
        if (block.last) {
            keys = std::move(all);
            return QueryResult::Answered;
        }
        retried = false;
        ++blocks;
    }
    Send(handle, CAN);
    return QueryResult::Garbled;
}

}  // namespace stampa
