// The waits of the links that have time-outs of their own: settings of each
// session's link (LinkState::timings), handed to a link when it opens. The
// program uses the defaults; tests shorten them.
#pragma once

#include <chrono>

#include "link/serial/serial_settings.h"

namespace stampa {

struct SerialTimings {
    std::chrono::milliseconds statusWait{2000};  // for the link test's answer
    CommTimeouts linkTest = LinkTestTimeouts();
    CommTimeouts afterTest = LongTimeouts();
};

struct NetworkTimings {
    std::chrono::milliseconds connect{3000};  // the whole open
    std::chrono::milliseconds stall{5000};    // no byte taken for this long fails a write or flush
};

struct LinkTimings {
    SerialTimings serial;
    NetworkTimings network;
};

}  // namespace stampa
