// Returns the program-wide link state to its start value. (What a session
// holds — logo lists, pick, marks — starts afresh with each session.)
// Used by tests, and by nothing in a normal run (the state lives from start to
// end of the program).
#pragma once

namespace stampa {

void ResetProgramState();

}  // namespace stampa
