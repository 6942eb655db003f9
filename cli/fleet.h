// Many printers at once: one job run against every link in parallel, each on
// a thread of its own in this process (once the shared work — binding,
// picking, converting — is done). Every job makes its own session, so every
// link has its own connection and state, and a printer that hangs or fails
// holds up no other.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "link/link_open.h"
#include "transfer/session.h"

namespace stampa::cli {

// How a link's job reports while it runs (from its own thread).
class LinkReporter {
  public:
    virtual ~LinkReporter() = default;
    virtual void Progress(int position, int high, const std::string& status) = 0;
};

// What a link's job gave: true when it succeeded. `detail`: for a failure the
// system's message and the reason; for a success what the job did, when it
// has more to say than "ok" (an NV download's writes).
struct LinkJobResult {
    bool ok = false;
    std::string detail;
    long long bytes = 0;  // sent to the printer
    // The parts of a failure's detail, for --json: the system's message and
    // the link's reason (empty when it gave none).
    std::string message;
    std::string reason;
    std::optional<NvWriteCounts> nv;  // an NV download's writes
};

struct LinkOutcome {
    std::string link;  // as given on the command line
    bool ok = false;
    std::string detail;   // as LinkJobResult's
    long long bytes = 0;  // sent to the printer
    double seconds = 0;
    std::string message;  // as LinkJobResult's
    std::string reason;
    std::optional<NvWriteCounts> nv;
};

using LinkJob = std::function<LinkJobResult(const LinkSettings&, LinkReporter&)>;

// Runs `job` for every link at once, a thread each, and waits for all of them.
// The job may be called from several threads at the same time. Progress goes
// to stderr: a bar per link on a terminal, else one line per link and logo.
// The outcomes come back in the order of `links`.
std::vector<LinkOutcome> RunOnEveryLink(const std::vector<std::string>& names,
                                        const std::vector<LinkSettings>& links, const LinkJob& job);

// The line printed for a link when it ends: "LINK  ok  BYTES bytes  SECONDS s"
// (with "ok; DETAIL" where the job said more) or "LINK  MESSAGE — REASON  BYTES
// bytes  SECONDS s".
std::string OutcomeLine(const LinkOutcome& outcome);

}  // namespace stampa::cli
