// The printer's answers to the questions of protocol/commands.h, decoded by pure
// functions from the bytes received so far.
#pragma once

#include <string>
#include <vector>

namespace stampa {

// The real-time status (DLE EOT 1, 2 and 4).
struct PrinterStatus {
    bool offline = false;       // printer status, bit 3
    bool coverOpen = false;     // offline cause, bit 2
    bool paperNearEnd = false;  // paper sensor, bits 2-3
    bool paperEnd = false;      // paper sensor, bits 5-6
};
PrinterStatus DecodeStatus(unsigned char printer, unsigned char offlineCause,
                           unsigned char paperSensor);

// Whether a byte is a real-time status at all: every one has bits 1 and 4 set
// and bits 0 and 7 clear (0xx1xx10). Any other byte is not taken as a status.
bool IsStatusByte(unsigned char byte);

// How far the bytes received make an answer.
enum class AnswerState { Incomplete, Complete, Malformed };

// The answer to an NV capacity question: 37, the identifier, decimal digits,
// 00 — identifier 30 answers the capacity (function 48), 31 what is free of it
// (function 51). An answer with another identifier (a late answer to the
// other question) is Malformed. `bytes` holds the number when Complete.
inline constexpr unsigned char kCapacityAnswerId = 0x30;
inline constexpr unsigned char kFreeCapacityAnswerId = 0x31;
AnswerState ParseCapacityAnswer(const std::vector<unsigned char>& received,
                                unsigned char identifier, long long& bytes);

// One block of the key-code list: 37 72 st, pairs of key bytes (32..126), 00;
// st is 40 for the last block and 41 when more follow.
struct KeyBlock {
    bool last = true;
    std::vector<std::string> keys;
};
AnswerState ParseKeyBlock(const std::vector<unsigned char>& received, KeyBlock& block);

}  // namespace stampa
