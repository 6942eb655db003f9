// An operator for tests: keeps every message shown (kind and exact text) and
// answers questions from a script, OK when the script has run out.
#pragma once

#include <deque>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "common/operator.h"

namespace stampa::test {

struct ShownMessage {
    MessageKind kind;
    std::string text;
    bool operator==(const ShownMessage&) const = default;
};

class RecordingOperator final : public IOperator {
  public:
    RecordingOperator() { previous_ = SetOperator(this); }
    ~RecordingOperator() override { SetOperator(previous_); }

    Answer Show(MessageKind kind, const std::string& text) override {
        std::lock_guard lock(mutex_);
        shown_.push_back({kind, text});
        if (kind != MessageKind::Question || answers_.empty()) {
            return Answer::Ok;
        }
        const Answer answer = answers_.front();
        answers_.pop_front();
        return answer;
    }

    Answer ShowDetailed(MessageKind kind, const std::string& text,
                        const std::string& detail) override {
        {
            std::lock_guard lock(mutex_);
            details_.push_back(detail);
        }
        return Show(kind, text);
    }

    // The details shown under messages (ShowDetailed), in order.
    std::vector<std::string> Details() const {
        std::lock_guard lock(mutex_);
        return details_;
    }

    void AnswerNext(Answer answer) {
        std::lock_guard lock(mutex_);
        answers_.push_back(answer);
    }

    std::vector<ShownMessage> Shown() const {
        std::lock_guard lock(mutex_);
        return shown_;
    }

    std::vector<std::string> Texts() const {
        std::lock_guard lock(mutex_);
        std::vector<std::string> texts;
        for (const auto& m : shown_)
            texts.push_back(m.text);
        return texts;
    }

    void Clear() {
        std::lock_guard lock(mutex_);
        shown_.clear();
    }

  private:
    mutable std::mutex mutex_;
    std::vector<ShownMessage> shown_;
    std::vector<std::string> details_;
    std::deque<Answer> answers_;
    IOperator* previous_ = nullptr;
};

}  // namespace stampa::test
