// Questions to the printer, each an exchange of its own on the open link: the
// real-time status, the NV graphics capacity and the key codes it holds. None
// is ever sent inside a download, a print or the link test. Runs on the
// caller's thread; each answer is waited for at most 2000 ms.
#pragma once

#include <string>
#include <vector>

#include "link/link_state.h"
#include "protocol/answers.h"

namespace stampa {

enum class QueryResult {
    Answered,
    CannotRead,  // the link cannot read (parallel, spooler) or none is open
    NoAnswer,    // the printer stayed silent
    Garbled,     // the answer could not be understood
    LinkFailed,  // the question could not be sent or the link failed
};

inline constexpr int kAnswerWaitMs = 2000;

// Each of the three answers must be a status byte (protocol/answers.h); any other
// byte makes the answer Garbled, never "normal".
QueryResult QueryStatus(PortHandleValue handle, PrinterStatus& status);

// The NV graphics capacity (`free`: what is left of it), in bytes.
QueryResult QueryNvCapacity(PortHandleValue handle, bool free, long long& bytes);

// The key codes of the NV graphics held, in the printer's order. Every block,
// the last one included, is answered with ACK; a malformed block is asked for
// again once (NAK); a second one ends the exchange (CAN). `waitMs` bounds the
// wait for each block (longer right after NV writes, which the printer
// finishes before it answers).
QueryResult QueryNvKeys(PortHandleValue handle, std::vector<std::string>& keys,
                        int waitMs = kAnswerWaitMs);

}  // namespace stampa
