// Many printers on Windows: without fork, the links of one command run one
// after another in this process. The shared work (binding, picking,
// converting) is done once; each link's job ends with the shut-down, so the
// libraries are bound again before the next.
#include <chrono>

#include "cli/fleet.h"
#include "cli/fleet_display.h"
#include "common/language.h"
#include "common/messages.h"
#include "link/port.h"
#include "workflows/startup.h"

namespace stampa::cli {
namespace {

class DirectReporter final : public LinkReporter {
  public:
    DirectReporter(LinkProgress& link, Display& display) : link_(link), display_(display) {}
    void Progress(int position, int high, const std::string& status) override {
        const int before = link_.position;
        link_.position = position;
        link_.high = high;
        link_.status = status;
        display_.Changed(link_, before);
    }

  private:
    LinkProgress& link_;
    Display& display_;
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
    for (std::size_t i = 0; i < links.size(); ++i) {
        LinkOutcome& outcome = progress[i].outcome;
        if (i > 0 && !BindRuntimeLibraries()) {
            outcome.detail = Localize(msg::kLibrariesNotLoaded);
            continue;
        }
        const auto start = std::chrono::steady_clock::now();
        const long long before = PortBytesWritten();
        DirectReporter reporter(progress[i], display);
        const LinkJobResult result = job(links[i], reporter);
        outcome.ok = result.ok;
        outcome.detail = result.detail;
        outcome.bytes = PortBytesWritten() - before;
        outcome.seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    std::vector<LinkOutcome> outcomes;
    for (const LinkProgress& p : progress)
        outcomes.push_back(p.outcome);
    return outcomes;
}

}  // namespace stampa::cli
