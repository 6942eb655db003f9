#include "workflows/printer_profiles.h"

namespace stampa {

ModelPaper PaperOfModel(const ProfileDatabase& database, const Configuration& configuration,
                        const std::string& model, const std::string& profileId) {
    const PrinterModelEntry* entry = nullptr;
    for (const PrinterModelEntry& m : configuration.models) {
        if (m.name == model) {
            entry = &m;
            break;
        }
    }
    std::string id = profileId;
    if (id.empty())
        id = entry != nullptr && !entry->profile.empty() ? entry->profile : model;
    ModelPaper paper;
    if (const PrinterProfile* p = database.Find(id)) {
        paper.profile = p->id;
        paper.dots = p->widthDots;
        paper.graphics = p->graphics;
        paper.widthMm = p->widthMm;
    }
    if (profileId.empty() && entry != nullptr && entry->width > 1)
        paper.dots = entry->width;  // Stampa.ini's Width= names the paper actually loaded
    return paper;
}

}  // namespace stampa
