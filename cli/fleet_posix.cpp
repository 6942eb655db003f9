// Many printers on Linux: a forked process per link, reporting over a pipe.
#include "cli/fleet.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <sstream>

#include "cli/fleet_display.h"
#include "common/language.h"
#include "common/messages.h"
#include "link/port.h"

namespace stampa::cli {
namespace {

using Clock = std::chrono::steady_clock;

// The child's side: progress and the result as lines on a pipe.
//   P POSITION HIGH STATUS
//   R OK BYTES DETAIL
class PipeReporter final : public LinkReporter {
  public:
    explicit PipeReporter(int fd) : fd_(fd) {}
    void Progress(int position, int high, const std::string& status) override {
        Send("P " + std::to_string(position) + " " + std::to_string(high) + " " + status);
    }
    void Result(const LinkJobResult& result, long long bytes) {
        Send("R " + std::string(result.ok ? "1" : "0") + " " + std::to_string(bytes) + " " +
             result.detail);
    }

  private:
    void Send(std::string line) {
        for (char& c : line) {
            if (c == '\n')
                c = ' ';
        }
        line += '\n';
        std::size_t done = 0;
        while (done < line.size()) {
            const ssize_t n = ::write(fd_, line.data() + done, line.size() - done);
            if (n <= 0)
                return;
            done += static_cast<std::size_t>(n);
        }
    }
    int fd_;
};

// The parent's view of one link.
struct Running : LinkProgress {
    pid_t pid = -1;
    int fd = -1;
    std::string pending;  // bytes read, not yet a whole line
    bool finished = false;
    Clock::time_point start;
};

void Fork(Running& r, const LinkSettings& link, const LinkJob& job) {
    int channel[2];
    if (::pipe2(channel, O_CLOEXEC) != 0) {
        r.outcome.detail = Localize(msg::kCommunicationFailed);
        r.finished = true;
        return;
    }
    std::fflush(stdout);
    std::fflush(stderr);
    r.start = Clock::now();
    r.pid = ::fork();
    if (r.pid == 0) {
        ::close(channel[0]);
        PipeReporter reporter(channel[1]);
        const LinkJobResult result = job(link, reporter);
        reporter.Result(result, PortBytesWritten());
        ::_exit(0);  // the parent's state and files are not the child's to tidy
    }
    ::close(channel[1]);
    r.fd = channel[0];
    if (r.pid < 0) {
        ::close(r.fd);
        r.fd = -1;
        r.outcome.detail = Localize(msg::kCommunicationFailed);
        r.finished = true;
    }
}

void Parse(Running& r, const std::string& line) {
    std::istringstream in(line);
    std::string tag;
    in >> tag;
    if (tag == "P") {
        in >> r.position >> r.high;
        std::getline(in >> std::ws, r.status);
    } else if (tag == "R") {
        int ok = 0;
        in >> ok >> r.outcome.bytes;
        std::getline(in >> std::ws, r.outcome.detail);
        r.outcome.ok = ok == 1;
    }
}

void Read(Running& r, Display& display) {
    char buffer[4096];
    const ssize_t n = ::read(r.fd, buffer, sizeof buffer);
    if (n > 0) {
        r.pending.append(buffer, static_cast<std::size_t>(n));
        for (auto end = r.pending.find('\n'); end != std::string::npos;
             end = r.pending.find('\n')) {
            const int before = r.position;
            Parse(r, r.pending.substr(0, end));
            r.pending.erase(0, end + 1);
            display.Changed(r, before);
        }
        return;
    }
    if (n < 0 && errno == EINTR)
        return;
    ::close(r.fd);
    r.fd = -1;
    int status = 0;
    ::waitpid(r.pid, &status, 0);
    r.outcome.seconds = std::chrono::duration<double>(Clock::now() - r.start).count();
    if (!r.outcome.ok && r.outcome.detail.empty())
        r.outcome.detail = Localize(msg::kCommunicationFailed);  // the child ended without a word
    r.finished = true;
}

}  // namespace

std::vector<LinkOutcome> RunOnEveryLink(const std::vector<std::string>& names,
                                        const std::vector<LinkSettings>& links,
                                        const LinkJob& job) {
    std::vector<Running> running(links.size());
    for (std::size_t i = 0; i < links.size(); ++i) {
        running[i].outcome.link = names[i];
        Fork(running[i], links[i], job);
    }
    std::vector<const LinkProgress*> shown;
    for (const Running& r : running)
        shown.push_back(&r);
    Display display(shown);
    for (;;) {
        std::vector<pollfd> fds;
        std::vector<Running*> owners;
        for (Running& r : running) {
            if (!r.finished) {
                fds.push_back({r.fd, POLLIN, 0});
                owners.push_back(&r);
            }
        }
        if (fds.empty())
            break;
        if (::poll(fds.data(), fds.size(), -1) < 0 && errno != EINTR)
            break;
        for (std::size_t i = 0; i < fds.size(); ++i) {
            if (fds[i].revents != 0)
                Read(*owners[i], display);
        }
    }
    std::vector<LinkOutcome> outcomes;
    for (const Running& r : running)
        outcomes.push_back(r.outcome);
    return outcomes;
}

}  // namespace stampa::cli
