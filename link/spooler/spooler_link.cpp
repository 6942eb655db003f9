#include "link/spooler/spooler_link.h"

namespace stampa {

bool QualifiesForDriverLink(const std::string& printerName, const std::string& baseDriverName) {
    return printerName.find(baseDriverName) != std::string::npos;
}

std::vector<std::string> QualifyingPrinters(const std::string& baseDriverName, bool* ok) {
    std::vector<std::string> qualifying;
    for (const std::string& name : EnumeratePrinters(ok)) {
        if (QualifiesForDriverLink(name, baseDriverName)) {
            qualifying.push_back(name);
        }
    }
    return qualifying;
}

}  // namespace stampa
