// Runs stampa-vprinter as its own process for end-to-end tests: starts it,
// waits until it says "ready", tells where its transports are, and stops it
// with SIGTERM.
#pragma once

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

namespace stampa::test {

class VirtualPrinterProcess {
  public:
    // `arguments` follow the program name, e.g. {"--usb", dir + "/lp0", "--out", out}.
    explicit VirtualPrinterProcess(std::vector<std::string> arguments) {
        int out[2];
        if (pipe2(out, O_CLOEXEC) != 0)
            return;
        pid_ = fork();
        if (pid_ == 0) {
            // A test that dies (a sanitizer report, a crash) takes its printer
            // with it, so nothing keeps the test runner's output open.
            prctl(PR_SET_PDEATHSIG, SIGTERM);
            dup2(out[1], STDOUT_FILENO);
            std::vector<char*> argv{const_cast<char*>(STAMPA_VPRINTER)};
            for (auto& a : arguments)
                argv.push_back(a.data());
            argv.push_back(nullptr);
            execv(STAMPA_VPRINTER, argv.data());
            _exit(127);
        }
        close(out[1]);
        stdout_ = out[0];
        ready_ = ReadUntil("ready\n", std::chrono::seconds(10));
    }
    ~VirtualPrinterProcess() { Stop(); }

    bool Ready() const { return ready_; }
    const std::string& Output() const { return output_; }

    // The value after "KEY: " on the first line that starts with it.
    std::string Value(const std::string& key) const {
        const auto at = output_.find(key + ": ");
        if (at == std::string::npos)
            return {};
        const auto end = output_.find('\n', at);
        return output_.substr(at + key.size() + 2, end - at - key.size() - 2);
    }
    int TcpPort() const {
        const std::string address = Value("tcp");
        return std::stoi(address.substr(address.rfind(':') + 1));
    }

    // SIGTERM, then the exit status (-1 when it had to be killed).
    int Stop() {
        if (pid_ <= 0)
            return exitStatus_;
        kill(pid_, SIGTERM);
        int status = 0;
        for (int i = 0; i < 500; ++i) {
            if (waitpid(pid_, &status, WNOHANG) == pid_) {
                exitStatus_ = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
                pid_ = -1;
                close(stdout_);
                return exitStatus_;
            }
            usleep(10000);
        }
        kill(pid_, SIGKILL);
        waitpid(pid_, &status, 0);
        pid_ = -1;
        close(stdout_);
        return exitStatus_ = -1;
    }

    // Waits until `path` exists, up to the time given. The printer renames each
    // file into place whole, a receipt's log last, so a receipt-NNNN.png is
    // awaited together with its .txt: then the receipt is complete.
    static bool WaitForFile(const std::string& path,
                            std::chrono::milliseconds limit = std::chrono::seconds(5)) {
        std::filesystem::path last = path;
        if (last.filename().string().rfind("receipt-", 0) == 0 && last.extension() == ".png")
            last.replace_extension(".txt");
        const auto deadline = std::chrono::steady_clock::now() + limit;
        while (std::chrono::steady_clock::now() < deadline) {
            if (std::filesystem::exists(path) && std::filesystem::exists(last))
                return true;
            usleep(10000);
        }
        return false;
    }

  private:
    bool ReadUntil(const std::string& marker, std::chrono::seconds limit) {
        const auto deadline = std::chrono::steady_clock::now() + limit;
        char buffer[512];
        while (output_.find(marker) == std::string::npos) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            if (left.count() <= 0)
                return false;
            pollfd p{stdout_, POLLIN, 0};
            if (poll(&p, 1, static_cast<int>(left.count())) <= 0)
                return false;
            const ssize_t n = read(stdout_, buffer, sizeof buffer);
            if (n <= 0)
                return false;
            output_.append(buffer, static_cast<std::size_t>(n));
        }
        return true;
    }

    pid_t pid_ = -1;
    int stdout_ = -1;
    bool ready_ = false;
    int exitStatus_ = -1;
    std::string output_;
};

}  // namespace stampa::test
