// The printer profiles of the ESC/POS printer capability database
// (data/printer-profiles.json, built into the program): what is known of a
// printer model — above all its paper's printable width and whether it has NV
// graphics. The program's models meet them in workflows/printer_profiles.h;
// the virtual printer takes one with --profile.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace stampa {

struct PrinterProfile {
    std::string id;  // "TM-T88V"
    std::string vendor;
    std::string name;
    std::optional<double> widthMm;  // nullopt: the database does not know
    std::optional<int> widthDots;
    std::optional<int> dpi;
    std::optional<bool> graphics;        // GS ( L
    std::optional<bool> bitImageRaster;  // GS v 0
    std::optional<bool> bitImageColumn;  // ESC *
};

struct ProfileDatabase {
    std::vector<PrinterProfile> profiles;
    std::string error;  // why nothing could be read; empty when it was
    const PrinterProfile* Find(const std::string& id) const;
};

// The profiles of a database file's text, or of a file; a missing, unreadable
// or malformed file gives no profiles and the reason in `error`.
ProfileDatabase ParseProfiles(const std::string& text);
ProfileDatabase LoadProfiles(const std::string& path);

// The profiles built into the program; STAMPA_PROFILES names a file to read
// instead (a newer database, a shop's own).
ProfileDatabase BuiltInProfiles();
ProfileDatabase ProgramProfiles();

}  // namespace stampa
