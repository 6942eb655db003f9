#include "common/operator.h"

#include <atomic>
#include <cstdio>

#include "common/language.h"

namespace stampa {
namespace {

const char* KindLabel(MessageKind kind) {
    switch (kind) {
        case MessageKind::Information:
            return "info";
        case MessageKind::Warning:
            return "warning";
        case MessageKind::Plain:
            return "notice";
        case MessageKind::Exclamation:
            return "attention";
        case MessageKind::Question:
            return "question";
    }
    return "message";
}

// Used when no front end has installed its own operator.
class StderrOperator final : public IOperator {
  public:
    Answer Show(MessageKind kind, const std::string& text) override {
        std::fprintf(stderr, "stampa %s: %s\n", KindLabel(kind), text.c_str());
        return kind == MessageKind::Question ? Answer::Cancel : Answer::Ok;
    }
};

StderrOperator fallbackOperator;
std::atomic<IOperator*> installedOperator{nullptr};

}  // namespace

IOperator* SetOperator(IOperator* op) {
    return installedOperator.exchange(op);
}

IOperator& CurrentOperator() {
    IOperator* op = installedOperator.load();
    return op != nullptr ? *op : fallbackOperator;
}

void ShowInformation(const std::string& text) {
    CurrentOperator().Show(MessageKind::Information, Localize(text));
}
void ShowWarning(const std::string& text) {
    CurrentOperator().Show(MessageKind::Warning, Localize(text));
}
void ShowPlain(const std::string& text) {
    CurrentOperator().Show(MessageKind::Plain, Localize(text));
}
void ShowExclamation(const std::string& text) {
    CurrentOperator().Show(MessageKind::Exclamation, Localize(text));
}
bool AskOkCancel(const std::string& text) {
    return CurrentOperator().Show(MessageKind::Question, Localize(text)) == Answer::Ok;
}

namespace {
IOperator& OperatorOf(const OperatorChannel& channel) {
    return channel.Operator != nullptr ? *channel.Operator : CurrentOperator();
}
}  // namespace

void ShowInformation(const OperatorChannel& channel, const std::string& text) {
    OperatorOf(channel).Show(MessageKind::Information, Localize(text));
}
void ShowWarning(const OperatorChannel& channel, const std::string& text) {
    OperatorOf(channel).Show(MessageKind::Warning, Localize(text));
}
void ShowPlain(const OperatorChannel& channel, const std::string& text) {
    OperatorOf(channel).Show(MessageKind::Plain, Localize(text));
}
void ShowExclamation(const OperatorChannel& channel, const std::string& text,
                     const std::string& detail) {
    if (detail.empty())
        OperatorOf(channel).Show(MessageKind::Exclamation, Localize(text));
    else
        OperatorOf(channel).ShowDetailed(MessageKind::Exclamation, Localize(text), detail);
}
bool AskOkCancel(const OperatorChannel& channel, const std::string& text) {
    return OperatorOf(channel).Show(MessageKind::Question, Localize(text)) == Answer::Ok;
}
void ReportOutcome(const OperatorChannel& channel, const std::string& text) {
    if (channel.Outcome)
        channel.Outcome(Localize(text));
    else
        ReportOutcome(text);
}

}  // namespace stampa
