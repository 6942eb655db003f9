// A printer model's paper and printer, from its printer profile
// (common/printer_profiles.h) and Stampa.ini: the paper's printable width,
// which every logo is checked against, and whether it has NV graphics.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "common/printer_profiles.h"
#include "workflows/config_file.h"

namespace stampa {

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
