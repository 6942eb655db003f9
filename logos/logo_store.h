// What a session knows of the operator's logos: the five logo lists, the
// state of the pick, and the model and folder that name the stored-logo files.
// Part of each printer session (transfer/session.h); the names are those the
// rest of the program has always used for them.
#pragma once

#include <atomic>
#include <cstdint>
#include <optional>
#include <string>

#include "logos/logo_list.h"

namespace stampa {

// The most logos one pick keeps (FLASH holds no more).
inline constexpr int kMaxPickedLogos = 255;

struct LogoStore {
    CLogoList SelectedLogos;     // the BMP files picked on the select page, in order
    CLogoList FlashLogos;        // what FLASH holds after this run's last FLASH download
    CLogoList StoredFlashLogos;  // the FLASH list read back from the model's stored-logo file
    CLogoList RamLogos;          // what RAM holds after this run's last RAM download
    CLogoList NvLogos;           // the chosen model's NV graphics (logos/nv_list.h)

    // The file dialog was confirmed at least once; the number of picked logos
    // and the sum of their 1-bit sizes.
    std::atomic<bool> LogosPicked{false};
    std::atomic<std::int32_t> SelectedCount{0};
    std::atomic<std::int32_t> SelectedBytes{0};
    // Position of the logo shown on the preview page, -1 for none.
    std::atomic<std::int32_t> CurrentLogo{-1};

    // Set by every read of StoredFlashLogos from its file; never cleared again.
    std::atomic<bool> StoredListLoaded{false};
    // The folder of the stored-logo files: the working directory when the
    // program started, whatever the file dialog makes the working directory
    // later. Written at start-up, before any worker runs.
    std::string StartDirectory;
    // The printer model of the connection, which names its stored-logo file.
    // Written by the connect workflow on the user-interface thread while no
    // download runs.
    std::string PrinterModel;

    // What the model's printer profile says (workflows/printer_profiles.h),
    // written with PrinterModel: the paper's printable width in dots (0: not
    // known, so no logo is checked against it) and whether it has NV graphics
    // (nullopt: not known). PaperProfile: the profile stampa-cli's --profile
    // chose; empty: Stampa.ini's and the model's own.
    int PaperDots = 0;
    std::optional<bool> PrinterNvGraphics;
    std::string PaperProfile;
    // A logo wider than the paper is refused instead of asked about
    // (stampa-cli --strict-width).
    bool StrictWidth = false;
};

// `to` takes the pick of `from` (its picked logos, their count and size, the
// logo shown), its start directory and its width rules (PaperProfile, StrictWidth): a printer of
// many served with what one pick made.
void CopyPick(const LogoStore& from, LogoStore& to);

}  // namespace stampa
