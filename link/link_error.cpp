#include "link/link_error.h"

#include <cerrno>

#include "common/messages.h"
#include "common/text_format.h"
#include "link/reason_text.h"

namespace stampa {
namespace {

const char* StepText(LinkStep step) {
    switch (step) {
        case LinkStep::Open:
            return msg::kLinkStepOpen;
        case LinkStep::Lock:
            return msg::kLinkStepLock;
        case LinkStep::Configure:
            return msg::kLinkStepConfigure;
        case LinkStep::Test:
            return msg::kLinkStepTest;
        default:
            return msg::kLinkStepWrite;
    }
}

// The remedy for the reasons an operator can act on; nullptr for the others.
const char* Remedy(const LinkError& e) {
    switch (e.osError) {
        case EACCES:
        case EPERM:
            return e.device.find("/usb/") != std::string::npos ? msg::kLinkRemedyUsbPermission
                                                               : msg::kLinkRemedySerialPermission;
        case EBUSY:
        case EWOULDBLOCK:
            return msg::kLinkRemedyBusy;
        case ENOENT:
        case ENODEV:
        case ENXIO:
            return msg::kLinkRemedyAbsent;
        case ETIMEDOUT:
            return e.step == LinkStep::Open ? msg::kLinkRemedyNoConnection
                                            : msg::kLinkRemedyStalled;
        case ECONNREFUSED:
            return msg::kLinkRemedyRefused;
        case EHOSTUNREACH:
        case ENETUNREACH:
            return msg::kLinkRemedyNoConnection;
        case EIO:
        case EPIPE:
        case ECONNRESET:
            return msg::kLinkRemedyGone;
        default:
            return e.step == LinkStep::Test ? msg::kLinkRemedyNoAnswer : nullptr;
    }
}

}  // namespace

std::string DescribeLinkError(const LinkError& e) {
    std::string line = FormatText(msg::kLinkFailedAt, e.device.c_str(), StepText(e.step));
    if (e.osError != 0) {
        line += ": ";
        line += ReasonText(e.osError);
    }
    if (!e.detail.empty()) {
        line += ": " + e.detail;
    }
    if (const char* remedy = Remedy(e)) {
        line += " — ";
        line += remedy;
    }
    return line;
}

}  // namespace stampa
