#include "cli/cli_io.h"

#include <cstdio>
#include <iostream>

#include "common/messages.h"

namespace stampa::cli {

CliOperator::CliOperator(bool assumeYes, bool quiet)
    : assumeYes_(assumeYes), quiet_(quiet), previous_(quiet ? nullptr : SetOperator(this)) {}

CliOperator::~CliOperator() {
    if (!quiet_)
        SetOperator(previous_);
}

Answer CliOperator::Show(MessageKind kind, const std::string& text) {
    std::lock_guard lock(mutex_);
    if (kind != MessageKind::Question)
        last_ = text;
    if (!quiet_)
        std::fprintf(stderr, "%s\n", text.c_str());
    if (kind == MessageKind::Warning)
        warning_ = true;
    if (kind == MessageKind::Information || kind == MessageKind::Exclamation)
        refusal_ = true;
    if (kind != MessageKind::Question)
        return Answer::Ok;
    if (assumeYes_)
        return Answer::Ok;
    if (quiet_) {
        cancelled_ = true;
        return Answer::Cancel;
    }
    if (!StdinIsTerminal()) {
        std::fprintf(stderr, "%s\n", msg::kCliNoTerminal);
        cancelled_ = true;
        return Answer::Cancel;
    }
    std::fprintf(stderr, "%s", msg::kCliAskOkCancel);
    std::string reply;
    std::getline(std::cin, reply);
    const bool ok = !reply.empty() &&
                    (reply[0] == 'y' || reply[0] == 'Y' || reply[0] == 'o' || reply[0] == 'O');
    cancelled_ = !ok;
    return ok ? Answer::Ok : Answer::Cancel;
}

bool CliOperator::SawWarning() const {
    std::lock_guard lock(mutex_);
    return warning_;
}
bool CliOperator::SawRefusal() const {
    std::lock_guard lock(mutex_);
    return refusal_;
}
std::string CliOperator::LastMessage() const {
    std::lock_guard lock(mutex_);
    return last_;
}
bool CliOperator::AnsweredCancel() const {
    std::lock_guard lock(mutex_);
    return cancelled_;
}

ProgressPage::ProgressPage(stampa::Memory memory, bool replaceAllNv)
    : memory_(memory), replaceAllNv_(replaceAllNv), terminal_(StderrIsTerminal()) {}

void ProgressPage::SetStatusText(const std::string& text) {
    std::lock_guard lock(mutex_);
    status_ = text;
    for (char& c : status_) {
        if (c == '\n')
            c = ' ';
    }
    if (terminal_ && position_ > 0)
        Draw();
}

void ProgressPage::SetProgressRange(int, int high) {
    std::lock_guard lock(mutex_);
    high_ = high;
}

void ProgressPage::SetProgressPosition(int position) {
    std::lock_guard lock(mutex_);
    position_ = position;
    if (position > 0)
        Draw();
}

void ProgressPage::SetBytesSent(long long sent, long long total) {
    std::lock_guard lock(mutex_);
    percent_ = total > 0 ? static_cast<int>(sent * 100 / total) : 100;
    if (terminal_)
        Draw();
}

// On a terminal a bar of the bytes redrawn in place; elsewhere one line per logo sent.
void ProgressPage::Draw() {
    if (!terminal_) {
        if (position_ % 2 == 0) {
            std::fprintf(stderr, msg::kCliSentLine, position_ / 2, high_ / 2, status_.c_str());
            std::fprintf(stderr, "\n");
        }
        return;
    }
    constexpr int kWidth = 30;
    const int filled = percent_ * kWidth / 100;
    std::fprintf(stderr, "\r[%s%s] %3d%% %d/%d %s\033[K",
                 std::string(static_cast<std::size_t>(filled), '#').c_str(),
                 std::string(static_cast<std::size_t>(kWidth - filled), '-').c_str(), percent_,
                 (position_ + 1) / 2, high_ / 2, status_.c_str());
    drawn_ = true;
}

void ProgressPage::Finish() {
    std::lock_guard lock(mutex_);
    if (terminal_ && drawn_)
        std::fprintf(stderr, "\n");
}

}  // namespace stampa::cli
