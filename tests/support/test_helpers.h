// Small helpers several test suites share.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>

#include "link/parallel_link.h"

namespace stampa::test {

// Descriptors open in this process: counted before and after, they show leaks.
inline int OpenDescriptors() {
    int n = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator("/proc/self/fd"))
        ++n;
    return n;
}

// A parallel-port clock that moves 100 ms at every pause: the 5 s busy limit
// passes in 50 status reads.
inline void UseFastParallelClock() {
    auto now = std::make_shared<std::int64_t>(0);
    ParallelClock c;
    c.nowMs = [now] { return *now; };
    c.pause = [now] { *now += 100; };
    SetParallelClock(c);
}

}  // namespace stampa::test
