// The printer's answers to the questions of link/commands.h, decoded by pure
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

// How far the bytes received make an answer.
enum class AnswerState { Incomplete, Complete, Malformed };

// The answer to an NV capacity question: 37, an identifier byte, decimal
// digits, 00. `bytes` holds the number when Complete.
AnswerState ParseCapacityAnswer(const std::vector<unsigned char>& received, long long& bytes);

// One block of the key-code list: 37 72 st, pairs of key bytes (32..126), 00;
// st is 40 for the last block and 41 when more follow.
struct KeyBlock {
    bool last = true;
    std::vector<std::string> keys;
};
AnswerState ParseKeyBlock(const std::vector<unsigned char>& received, KeyBlock& block);

}  // namespace stampa
