// The five program-wide logo lists and the state of the operator's pick. They
// live for the whole run, start empty and change only through CLogoList's
// operations and the pick workflows.
#pragma once

#include <atomic>
#include <cstdint>

#include "logos/logo_list.h"

namespace stampa {

extern CLogoList SelectedLogos;     // the BMP files picked on the select page, in order
extern CLogoList FlashLogos;        // what FLASH holds after this run's last FLASH download
extern CLogoList StoredFlashLogos;  // the FLASH list read back from the model's stored-logo file
extern CLogoList RamLogos;          // what RAM holds after this run's last RAM download
extern CLogoList NvLogos;           // the chosen model's NV graphics (logos/nv_list.h)

// The file dialog was confirmed at least once; the number of picked logos and
// the sum of their 1-bit sizes.
extern std::atomic<bool> LogosPicked;
extern std::atomic<std::int32_t> SelectedCount;
extern std::atomic<std::int32_t> SelectedBytes;

// Position of the logo shown on the preview page, -1 for none.
extern std::atomic<std::int32_t> CurrentLogo;

// The most logos one pick keeps (FLASH holds no more).
inline constexpr int kMaxPickedLogos = 255;

// Empties the five lists and returns the pick state to its start values (tests).
void ResetLogoLists();

}  // namespace stampa
