// How an operator's action ended — a connection made, a download or a print
// done, a failure — for a status line that never blocks and is never a message
// box. A front end installs a sink (the program's sheet); without one the
// reports go nowhere. Reports may come from any thread.
#pragma once

#include <functional>
#include <string>

namespace stampa {

using OutcomeSink = std::function<void(const std::string& text)>;

// Installs the sink (an empty function removes it).
void SetOutcomeSink(OutcomeSink sink);

void ReportOutcome(const std::string& text);

}  // namespace stampa
