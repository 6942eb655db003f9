// Why a link failed, kept at the point of failure: the step that failed, the
// operating system's reason (errno) and the device. The pages keep showing the
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

// Notes a failure; the last one noted is kept, for any thread to read.
void NoteLinkError(LinkStep step, int osError, const std::string& device,
                   const std::string& detail = {});
LinkError LastLinkError();
void ClearLinkError();

// One line for the operator: the device, the reason, and the remedy for the
// common cases (permission, busy, absent, stalled).
std::string DescribeLinkError(const LinkError& error);

}  // namespace stampa
