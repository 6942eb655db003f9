#include "workflows/reset_state.h"

#include "link/link_state.h"
#include "link/parallel/parallel_link.h"
#include "logos/logo_lists.h"
#include "logos/stored_list.h"

namespace stampa {

void ResetProgramState() {
    ResetLogoLists();
    ResetStoredListState();
    ResetLinkState();
    ResetParallelState();
}

}  // namespace stampa
