#include "common/outcome.h"

#include <mutex>

#include "common/language.h"

namespace stampa {
namespace {

// The sink the front end installed, with the lock that guards it.
struct Installed {
    std::mutex mutex;
    OutcomeSink sink;
} installed;

}  // namespace

void SetOutcomeSink(OutcomeSink sink) {
    std::lock_guard lock(installed.mutex);
    installed.sink = std::move(sink);
}

void ReportOutcome(const std::string& text) {
    OutcomeSink sink;
    {
        std::lock_guard lock(installed.mutex);
        sink = installed.sink;
    }
    if (sink) {
        sink(Localize(text));
    }
}

}  // namespace stampa
