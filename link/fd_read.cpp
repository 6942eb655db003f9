#include "link/fd_read.h"

#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>

namespace stampa {

int ReadWithin(int fd, unsigned char* buffer, int max, int timeoutMs) {
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        const ssize_t n = ::read(fd, buffer, static_cast<size_t>(max));
        if (n > 0)
            return static_cast<int>(n);
        if (n == 0)
            return -1;  // the other end closed
        if (errno == EINTR)
            continue;
        if (errno != EAGAIN && errno != EWOULDBLOCK)
            return -1;
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0)
            return 0;
        pollfd p{fd, POLLIN, 0};
        const int ready = ::poll(&p, 1, static_cast<int>(left));
        if (ready < 0 && errno != EINTR)
            return -1;
        if (ready > 0 && !(p.revents & POLLIN))
            return -1;  // POLLERR or POLLHUP without data
    }
}

}  // namespace stampa
