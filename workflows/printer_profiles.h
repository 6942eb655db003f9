// Printer profiles: what Stampa knows of a printer model from the ESC/POS
// printer capability database (data/printer-profiles.json, built into the
// program) and from Stampa.ini — above all the paper's printable width, which
// every logo is checked against, and whether the printer has NV graphics.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "workflows/config_file.h"

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

// What a model's paper and printer allow, as far as known.
struct ModelPaper {
    std::string profile;           // the profile it comes from; empty: none
    std::optional<int> dots;       // printable width; nullopt: no width check
    std::optional<bool> graphics;  // NV graphics; nullopt: not known (allowed)
    std::optional<double> widthMm;
};

// The paper of `model`: `profileId` when given (stampa-cli --profile), else
// the model's [PosN] Profile= of `configuration`, else the profile named as
// the model; a Width= above 1 overrides the dots (not with `profileId`).
ModelPaper PaperOfModel(const ProfileDatabase& database, const Configuration& configuration,
                        const std::string& model, const std::string& profileId = {});

}  // namespace stampa
