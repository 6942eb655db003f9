// Returns every piece of program-wide state to its start value: the logo
// lists and the pick, the stored-list state, the link. (What a session holds
// starts afresh with each session.)
// Used by tests, and by nothing in a normal run (the state lives from start to
// end of the program).
#pragma once

namespace stampa {

void ResetProgramState();

}  // namespace stampa
