// The four program-wide logo lists. They live for the whole run, start empty
// and change only through CLogoList's operations.
#pragma once

#include "logos/logo_list.h"

namespace stampa {

extern CLogoList SelectedLogos;     // the BMP files picked on the select page, in order
extern CLogoList FlashLogos;        // what FLASH holds after this run's last FLASH download
extern CLogoList StoredFlashLogos;  // the FLASH list read back from the model's stored-logo file
extern CLogoList RamLogos;          // what RAM holds after this run's last RAM download

}  // namespace stampa
