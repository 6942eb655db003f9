// The operator as the program shows it: message boxes. Messages from the
// download worker thread are shown on the user-interface thread, and the
// worker waits for the answer.
#pragma once

#include "common/operator.h"

class QWidget;

namespace stampa {

class QtOperator final : public IOperator {
  public:
    explicit QtOperator(QWidget* parent = nullptr) : parent_(parent) {}
    void SetParent(QWidget* parent) { parent_ = parent; }
    Answer Show(MessageKind kind, const std::string& text) override;
    // The detail as the box's informative text, under the message.
    Answer ShowDetailed(MessageKind kind, const std::string& text,
                        const std::string& detail) override;

  private:
    Answer ShowHere(MessageKind kind, const std::string& text, const std::string& detail);
    QWidget* parent_;
};

}  // namespace stampa
