#include "workflows/reset_state.h"

#include "link/link_state.h"
#include "link/parallel/parallel_link.h"

namespace stampa {

void ResetProgramState() {
    ResetLinkState();
    ResetParallelState();
}

}  // namespace stampa
