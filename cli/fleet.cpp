#include "cli/fleet.h"

#include <chrono>
#include <cstdio>
#include <mutex>
#include <thread>

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

namespace {

// Progress of one link's thread, shown under the display's lock.
class ThreadReporter final : public LinkReporter {
  public:
    ThreadReporter(LinkProgress& link, Display& display, std::mutex& shown)
        : link_(link), display_(display), shown_(shown) {}
    void Progress(int position, int high, const std::string& status) override {
        std::lock_guard lock(shown_);
        const int before = link_.position;
        link_.position = position;
        link_.high = high;
        link_.status = status;
        display_.Changed(link_, before);
    }

  private:
    LinkProgress& link_;
    Display& display_;
    std::mutex& shown_;
};

}  // namespace

std::vector<LinkOutcome> RunOnEveryLink(const std::vector<std::string>& names,
                                        const std::vector<LinkSettings>& links,
                                        const LinkJob& job) {
    std::vector<LinkProgress> progress(links.size());
    std::vector<const LinkProgress*> shown;
    for (std::size_t i = 0; i < links.size(); ++i) {
        progress[i].outcome.link = names[i];
        shown.push_back(&progress[i]);
    }
    Display display(shown);
    std::mutex displayMutex;
    std::vector<std::thread> threads;
    for (std::size_t i = 0; i < links.size(); ++i) {
        threads.emplace_back([&, i] {
            const auto start = std::chrono::steady_clock::now();
            ThreadReporter reporter(progress[i], display, displayMutex);
            const LinkJobResult result = job(links[i], reporter);
            std::lock_guard lock(displayMutex);
            LinkOutcome& outcome = progress[i].outcome;
            outcome.ok = result.ok;
            outcome.detail = result.detail;
            outcome.bytes = result.bytes;
            outcome.message = result.message;
            outcome.reason = result.reason;
            outcome.nv = result.nv;
            outcome.seconds =
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    std::vector<LinkOutcome> outcomes;
    for (const LinkProgress& p : progress)
        outcomes.push_back(p.outcome);
    return outcomes;
}

std::string OutcomeLine(const LinkOutcome& o) {
    const std::string result = o.ok ? (o.detail.empty() ? std::string(msg::kCliLinkOk)
                                                        : msg::kCliLinkOk + ("; " + o.detail))
                                    : o.detail;
    return FormatText(msg::kCliLinkOutcome, o.link.c_str(), result.c_str(), o.bytes, o.seconds);
}

}  // namespace stampa::cli
