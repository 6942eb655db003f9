#include "workflows/reset_state.h"

#include "link/parallel/parallel_link.h"

namespace stampa {

void ResetProgramState() {
    ResetParallelState();
}

}  // namespace stampa
