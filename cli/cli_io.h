// How stampa-cli talks to its user: the system's messages on stderr, questions
// answered by --yes or at the terminal, and the download's progress.
#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "common/operator.h"
#include "transfer/job_pages.h"

namespace stampa::cli {

// Exit statuses.
enum Exit : int { kDone = 0, kRefused = 1, kUsage = 2, kCommunicationFailure = 3 };

// Makes the terminal show the UTF-8 texts as they are (Windows' console shows
// its own code page otherwise); nothing to do on Linux.
void PrepareTerminal();

// Whether the standard input (questions) and standard error (progress) are a terminal.
bool StdinIsTerminal();
bool StderrIsTerminal();

class CliOperator final : public IOperator {
  public:
    // A loud operator installs itself as the process's for its lifetime.
    // `quiet`: messages are kept (LastMessage) instead of written to stderr;
    // questions are answered by `assumeYes` alone; it is not installed, but
    // given to one printer's session (OperatorChannel).
    explicit CliOperator(bool assumeYes, bool quiet = false);
    ~CliOperator() override;
    Answer Show(MessageKind kind, const std::string& text) override;

    bool SawWarning() const;      // a failed exchange with the printer was reported
    bool SawRefusal() const;      // an information box: something was refused
    bool AnsweredCancel() const;  // the operator (or a missing --yes) declined
    std::string LastMessage() const;

  private:
    mutable std::mutex mutex_;
    bool assumeYes_;
    bool quiet_;
    std::string last_;
    bool warning_ = false;
    bool refusal_ = false;
    bool cancelled_ = false;
    IOperator* previous_;
};

// The download page of the command line: a bar on a terminal, lines otherwise.
class ProgressPage final : public IDownloadPage {
  public:
    explicit ProgressPage(stampa::Memory memory, bool replaceAllNv = false);
    stampa::Memory Memory() const override { return memory_; }
    bool ReplaceAllNv() const override { return replaceAllNv_; }
    void SetDownloadEnabled(bool) override {}
    void SetStatusText(const std::string& text) override;
    void SetProgressRange(int low, int high) override;
    void SetProgressPosition(int position) override;
    void SetBytesSent(long long sent, long long total) override;
    void Finish();

  private:
    void Draw();
    std::mutex mutex_;
    stampa::Memory memory_;
    bool replaceAllNv_;
    bool terminal_;
    int high_ = 0;
    int position_ = 0;
    int percent_ = 0;  // of the bytes, for the bar
    std::string status_;
    bool drawn_ = false;
};

// The print page of the command line: fixed choices.
struct PrintChoices final : public IPrintPage {
    int range = kPrintAll;
    stampa::Memory memory = kFlashMemory;
    int scaling = 0;
    bool label = false;
    std::vector<int> rows;
    int Range() const override { return range; }
    stampa::Memory Memory() const override { return memory; }
    int ScalingMode() const override { return scaling; }
    bool PrintLabel() const override { return label; }
    std::vector<int> SelectedRows() const override { return rows; }
    void SetPrintEnabled(bool) override {}
};

}  // namespace stampa::cli
