// The operator: the one channel through which the core (logo store, link, jobs)
// speaks to the person at the machine.
//
// Core code never opens a window or prints by itself. It calls the free
// functions below; whoever runs the core installs an IOperator that shows the
// message: the Qt program a QMessageBox, stampa-cli a line on stderr, tests a
// recorder that keeps every message and answers questions from a script.
//
// Texts are the system's own messages in UTF-8, passed through unchanged.
#pragma once

#include <string>

#include "common/outcome.h"

namespace stampa {

// The kinds of message box the system uses.
enum class MessageKind {
    Information,  // a refusal before anything is sent (OK, information icon)
    Warning,      // a failed exchange with the printer (OK, warning icon)
    Plain,        // a notice (OK, no icon)
    Exclamation,  // a connection problem on the configuration page (OK, exclamation icon)
    Question,     // a confirmation (OK and Cancel)
};

enum class Answer { Ok, Cancel };

// Implemented by each front end. Show() blocks until the operator has answered;
// for every kind but Question the answer is Ok. May be called from the download
// worker thread as well as from the user-interface thread.
class IOperator {
  public:
    virtual ~IOperator() = default;
    virtual Answer Show(MessageKind kind, const std::string& text) = 0;
    // The same with a detail under the text (why a link failed, naming the
    // device). A front end without a place for it shows the text alone.
    virtual Answer ShowDetailed(MessageKind kind, const std::string& text,
                                const std::string& /*detail*/) {
        return Show(kind, text);
    }
};

// Installs the operator used from now on and returns the previous one.
// nullptr restores the fallback, which writes to stderr and answers Cancel to
// every question, so that nothing is sent without a confirmation.
IOperator* SetOperator(IOperator* op);
IOperator& CurrentOperator();

void ShowInformation(const std::string& text);
void ShowWarning(const std::string& text);
void ShowPlain(const std::string& text);
void ShowExclamation(const std::string& text);
// true when the operator answered OK.
bool AskOkCancel(const std::string& text);

// Where one session's messages and status-line reports go. An unset member
// means the process's (the operator and sink the front end installed);
// stampa-cli gives each printer's session its own, so printers served at once
// on threads of one process keep their messages apart. The setter keeps the
// pointed-to operator alive while the session uses it.
struct OperatorChannel {
    IOperator* Operator = nullptr;
    OutcomeSink Outcome;
};

void ShowInformation(const OperatorChannel& channel, const std::string& text);
void ShowWarning(const OperatorChannel& channel, const std::string& text);
void ShowPlain(const OperatorChannel& channel, const std::string& text);
void ShowExclamation(const OperatorChannel& channel, const std::string& text,
                     const std::string& detail = {});
bool AskOkCancel(const OperatorChannel& channel, const std::string& text);
void ReportOutcome(const OperatorChannel& channel, const std::string& text);

}  // namespace stampa
