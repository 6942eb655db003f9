#include "link/fd_read.h"

#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>

namespace stampa {

int ReadWithin(int fd, unsigned char* buffer, int max, int timeoutMs) {
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        // Poll first: a terminal in raw mode reads 0 bytes when it has none,
        // where a socket reads 0 only when its other end closed.
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        pollfd p{fd, POLLIN, 0};
        const int ready = ::poll(&p, 1, static_cast<int>(std::max<long long>(left, 0)));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready < 0)
            return -1;
        if (ready == 0)
            return 0;
        if (!(p.revents & POLLIN))
            return -1;  // POLLERR or POLLHUP without data
        const ssize_t n = ::read(fd, buffer, static_cast<size_t>(max));
        if (n > 0)
            return static_cast<int>(n);
        if (n == 0)
            return -1;  // the other end closed
        if (errno != EINTR && errno != EAGAIN && errno != EWOULDBLOCK)
            return -1;
    }
}

}  // namespace stampa
