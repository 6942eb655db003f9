// Returns what is still program-wide — the parallel port's driver state — to
// its start value (tests). Everything else a test uses lives in its session.
// Used by tests, and by nothing in a normal run (the state lives from start to
// end of the program).
#pragma once

namespace stampa {

void ResetProgramState();

}  // namespace stampa
