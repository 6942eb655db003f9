#include "cli/fleet.h"

#include <cstdio>

#include "cli/cli_io.h"
#include "cli/fleet_display.h"
#include "common/messages.h"
#include "common/text_format.h"

namespace stampa::cli {

Display::Display(std::vector<const LinkProgress*> links)
    : links_(std::move(links)), terminal_(StderrIsTerminal()) {}

void Display::Changed(const LinkProgress& r, int oldPosition) {
    if (!terminal_) {
        if (r.position > oldPosition && r.position % 2 == 0 && r.high > 0)
            std::fprintf(stderr, "%s: %s\n", r.outcome.link.c_str(),
                         FormatText(msg::kCliSentLine, r.position / 2, r.high / 2, r.status.c_str())
                             .c_str());
        return;
    }
    if (drawn_)
        std::fprintf(stderr, "\033[%zuA", links_.size());
    for (const LinkProgress* each : links_) {
        constexpr int kWidth = 30;
        const int filled = each->high > 0 ? each->position * kWidth / each->high : 0;
        std::fprintf(stderr, "\r\033[K%-24s [%s%s] %d/%d %s\n", each->outcome.link.c_str(),
                     std::string(static_cast<std::size_t>(filled), '#').c_str(),
                     std::string(static_cast<std::size_t>(kWidth - filled), '-').c_str(),
                     each->position, each->high, each->status.c_str());
    }
    drawn_ = true;
}

std::string OutcomeLine(const LinkOutcome& o) {
    const std::string result =
        o.ok ? (o.detail.empty() ? std::string(msg::kCliLinkOk) : msg::kCliLinkOk + ("; " + o.detail))
             : o.detail;
    return FormatText(msg::kCliLinkOutcome, o.link.c_str(), result.c_str(), o.bytes, o.seconds);
}

}  // namespace stampa::cli
