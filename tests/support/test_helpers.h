// Small helpers several test suites share.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "link/parallel/parallel_link.h"

namespace stampa::test {

// Descriptors open in this process: counted before and after, they show leaks.
inline int OpenDescriptors() {
    int n = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator("/proc/self/fd"))
        ++n;
    return n;
}

// A parallel-port clock that, while `fast` is set, moves 100 ms at every
// pause: the 5 s busy limit passes in 50 status reads. Otherwise it is the
// real clock.
inline ParallelClock FastParallelClock(
    std::shared_ptr<std::atomic<bool>> fast = std::make_shared<std::atomic<bool>>(true)) {
    auto ahead = std::make_shared<std::atomic<std::int64_t>>(0);
    const ParallelClock real;
    ParallelClock c;
    c.nowMs = [real, ahead] { return real.nowMs() + ahead->load(); };
    c.pause = [real, ahead, fast] {
        if (fast->load())
            *ahead += 100;
        else
            real.pause();
    };
    return c;
}

// The bytes of a file another process appends to, once there are at least
// `atLeast` of them (or after three seconds, whatever is there then).
inline std::vector<unsigned char> FileBytesOnceAtLeast(const std::string& path,
                                                       std::size_t atLeast) {
    std::vector<unsigned char> bytes;
    for (int i = 0; i < 300; ++i) {
        std::ifstream in(path, std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        if (bytes.size() >= atLeast)
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return bytes;
}

}  // namespace stampa::test
