#include "logos/logo_lists.h"

namespace stampa {

CLogoList SelectedLogos;
CLogoList FlashLogos;
CLogoList StoredFlashLogos;
CLogoList RamLogos;

}  // namespace stampa
