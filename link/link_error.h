// Why a link failed, kept at the point of failure: the step that failed, the
// operating system's reason (errno) and the device. An open routine hands it
// to its caller; an open connection keeps its last one (Transport::LastError);
// the session keeps the open's (LinkState::OpenFailure). The pages keep showing the
// system's messages; stampa-cli adds this reason, with a remedy, after them.
#pragma once

#include <string>

namespace stampa {

enum class LinkStep {
    None,       // no failure noted
    Open,       // opening the device or queue
    Lock,       // taking the device for this program alone
    Configure,  // setting the line up
    Test,       // the printer did not answer the link test
    Write,      // sending bytes
};

struct LinkError {
    LinkStep step = LinkStep::None;
    int osError = 0;     // errno at the failing call; 0 when the system gave none
    std::string device;  // the device file, port or queue
    std::string detail;  // the spooler's own words, where it gives some
};

// Keeps a failure in `*why` where the caller asked for the reason (the open
// routines' last parameter; nullptr: it is not wanted).
inline void NoteLinkError(LinkError* why, LinkStep step, int osError, const std::string& device,
                          const std::string& detail = {}) {
    if (why != nullptr)
        *why = LinkError{step, osError, device, detail};
}

// One line for the operator: the device, the reason, and the remedy for the
// common cases (permission, busy, absent, stalled).
std::string DescribeLinkError(const LinkError& error);

}  // namespace stampa
