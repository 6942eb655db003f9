#include <cerrno>
#include <cstring>

#include "link/reason_text.h"

namespace stampa {

// The C runtime of Windows knows only the classic errno values; the network
// and time-out values the links note get their usual words here.
std::string ReasonText(int errnoValue) {
    switch (errnoValue) {
        case ETIMEDOUT:
            return "Connection timed out";
        case ECONNREFUSED:
            return "Connection refused";
        case ECONNRESET:
            return "Connection reset by peer";
        case EHOSTUNREACH:
            return "No route to host";
        case ENETUNREACH:
            return "Network is unreachable";
        case EWOULDBLOCK:
            return "Resource temporarily unavailable";
        default:
            return std::strerror(errnoValue);
    }
}

}  // namespace stampa
