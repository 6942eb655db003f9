#include "protocol/answers.h"

namespace stampa {
namespace {

constexpr unsigned char kHeader = 0x37;
constexpr std::size_t kMaxDigits = 18;     // fits a long long
constexpr std::size_t kMaxKeyBytes = 512;  // 256 keys a block, more than any printer holds

}  // namespace

PrinterStatus DecodeStatus(unsigned char printer, unsigned char offlineCause,
                           unsigned char paperSensor) {
    PrinterStatus status;
    status.offline = (printer & 0x08) != 0;
    status.coverOpen = (offlineCause & 0x04) != 0;
    status.paperNearEnd = (paperSensor & 0x0C) != 0;
    status.paperEnd = (paperSensor & 0x60) != 0;
    return status;
}

bool IsStatusByte(unsigned char byte) {
    return (byte & 0x93) == 0x12;
}

AnswerState ParseCapacityAnswer(const std::vector<unsigned char>& received,
                                unsigned char identifier, long long& bytes) {
    if ((!received.empty() && received[0] != kHeader) ||
        (received.size() > 1 && received[1] != identifier)) {
        return AnswerState::Malformed;
    }
    long long value = 0;
    for (std::size_t i = 2; i < received.size(); ++i) {
        const unsigned char c = received[i];
        if (c == 0x00) {
            if (i == 2)
                return AnswerState::Malformed;  // no digit at all
            bytes = value;
            return AnswerState::Complete;
        }
        if (c < '0' || c > '9' || i - 2 >= kMaxDigits) {
            return AnswerState::Malformed;
        }
        value = value * 10 + (c - '0');
    }
    return AnswerState::Incomplete;
}

AnswerState ParseKeyBlock(const std::vector<unsigned char>& received, KeyBlock& block) {
    const std::size_t n = received.size();
    if ((n > 0 && received[0] != kHeader) || (n > 1 && received[1] != 0x72) ||
        (n > 2 && received[2] != 0x40 && received[2] != 0x41)) {
        return AnswerState::Malformed;
    }
    for (std::size_t i = 3; i < n; ++i) {
        if (received[i] == 0x00) {
            if ((i - 3) % 2 != 0)
                return AnswerState::Malformed;  // half a key
            block.last = received[2] == 0x40;
            block.keys.clear();
            for (std::size_t k = 3; k < i; k += 2)
                block.keys.push_back(std::string{static_cast<char>(received[k]),
                                                 static_cast<char>(received[k + 1])});
            return AnswerState::Complete;
        }
        if (received[i] < 32 || received[i] > 126 || i - 3 >= kMaxKeyBytes) {
            return AnswerState::Malformed;
        }
    }
    return AnswerState::Incomplete;
}

}  // namespace stampa
