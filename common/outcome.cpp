#include "common/outcome.h"

#include <mutex>

#include "common/language.h"

namespace stampa {
namespace {

std::mutex sinkMutex;
OutcomeSink installed;

}  // namespace

void SetOutcomeSink(OutcomeSink sink) {
    std::lock_guard lock(sinkMutex);
    installed = std::move(sink);
}

void ReportOutcome(const std::string& text) {
    OutcomeSink sink;
    {
        std::lock_guard lock(sinkMutex);
        sink = installed;
    }
    if (sink) {
        sink(Localize(text));
    }
}

}  // namespace stampa
