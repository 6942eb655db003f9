#include "logos/logo_store.h"

namespace stampa {

void CopyPick(const LogoStore& from, LogoStore& to) {
    CopyLogoList(from.SelectedLogos, to.SelectedLogos);
    to.LogosPicked = from.LogosPicked.load();
    to.SelectedCount = from.SelectedCount.load();
    to.SelectedBytes = from.SelectedBytes.load();
    to.CurrentLogo = from.CurrentLogo.load();
    to.StartDirectory = from.StartDirectory;
    to.PaperProfile = from.PaperProfile;
    to.StrictWidth = from.StrictWidth;
}

}  // namespace stampa
