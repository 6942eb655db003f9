#include "logos/nv_list.h"

#include <algorithm>

#include "common/atomic_file.h"
#include "logos/stored_list.h"

namespace stampa {

namespace {

constexpr int kLastKeyNumber = 99;

}  // namespace

std::string NvListFileName(const std::string& startDirectory, const std::string& model) {
    return StoredLogoFileName(startDirectory, model) + ".nv";
}

int NvNumberOf(const LogoEntry& entry, int position) {
    return entry.mode >= 1 && entry.mode <= kLastKeyNumber ? entry.mode : position + 1;
}

int NvNumberAt(const CLogoList& list, int position) {
    LogoEntry entry;
    entry.mode = list.GetMode(position);
    return NvNumberOf(entry, position);
}

void RecordNvDownload(LogoStore& logos, const CLogoList& sent) {
    const std::vector<LogoEntry> entries = sent.Entries();
    logos.NvLogos.RemoveAll();
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const LogoEntry& e = entries[i];
        logos.NvLogos.Append(static_cast<std::int32_t>(i), e.name, e.path, e.convertedPath, e.size,
                             e.width, e.height, static_cast<std::int32_t>(i + 1));
    }
}

void ForgetNvNumbers(LogoStore& logos, const std::vector<int>& numbers) {
    for (int p = logos.NvLogos.Count() - 1; p >= 0; --p) {
        if (std::find(numbers.begin(), numbers.end(), NvNumberAt(logos.NvLogos, p)) !=
            numbers.end())
            logos.NvLogos.RemoveAt(p);
    }
}

int SaveNvList(const LogoStore& logos) {
    if (logos.PrinterModel.empty()) {
        return 0;
    }
    std::vector<LogoEntry> entries = logos.NvLogos.Entries();
    for (std::size_t i = 0; i < entries.size(); ++i) {
        entries[i].mode = NvNumberOf(entries[i], static_cast<int>(i));
    }
    return ReplaceFileAtomically(NvListFileName(logos.StartDirectory, logos.PrinterModel),
                                 EncodeLogoListFile(entries, true))
               ? 1
               : 0;
}

void ReloadNvLogos(LogoStore& logos) {
    logos.NvLogos.RemoveAll();
    if (!logos.PrinterModel.empty()) {
        LoadLogoListInto(logos.NvLogos, NvListFileName(logos.StartDirectory, logos.PrinterModel));
    }
}

}  // namespace stampa
