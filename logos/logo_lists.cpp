#include "logos/logo_lists.h"

namespace stampa {

CLogoList SelectedLogos;
CLogoList FlashLogos;
CLogoList StoredFlashLogos;
CLogoList RamLogos;
CLogoList NvLogos;
std::atomic<bool> LogosPicked{false};
std::atomic<std::int32_t> SelectedCount{0};
std::atomic<std::int32_t> SelectedBytes{0};
std::atomic<std::int32_t> CurrentLogo{-1};

void ResetLogoLists() {
    SelectedLogos.RemoveAll();
    FlashLogos.RemoveAll();
    StoredFlashLogos.RemoveAll();
    RamLogos.RemoveAll();
    NvLogos.RemoveAll();
    LogosPicked = false;
    SelectedCount = 0;
    SelectedBytes = 0;
    CurrentLogo = -1;
}

}  // namespace stampa
