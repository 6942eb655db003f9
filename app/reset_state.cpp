#include "app/reset_state.h"

#include "app/program_state.h"
#include "link/link_state.h"
#include "link/parallel_link.h"
#include "logos/logo_lists.h"
#include "logos/stored_list.h"
#include "transfer/transfer_state.h"

namespace stampa {

void ResetProgramState() {
    SelectedLogos.RemoveAll();
    FlashLogos.RemoveAll();
    StoredFlashLogos.RemoveAll();
    RamLogos.RemoveAll();
    StoredListLoaded = false;
    ResetLinkState();
    ResetParallelState();
    ResetTransferState();
    ResetAppState();
}

}  // namespace stampa
