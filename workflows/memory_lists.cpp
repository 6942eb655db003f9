#include "workflows/memory_lists.h"

#include <algorithm>

#include "common/text_format.h"
#include "logos/logo_lists.h"
#include "logos/nv_list.h"
#include "transfer/memory_texts.h"
#include "transfer/transfer_state.h"

namespace stampa {
namespace {

// `keys`: the entries are the NV list, numbered by their keys.
MemoryListing Listing(int memory, std::vector<LogoEntry> entries, bool keys = false) {
    std::int64_t sum = 0;
    for (const LogoEntry& e : entries)
        sum += e.size;
    MemoryListing listing;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const int row = static_cast<int>(i);
        listing.numbers.push_back(keys ? NvNumberOf(entries[i], row)
                                       : FirstLogoNumber(memory) + row);
    }
    listing.sizeText = FormatText(TextsOf(memory).sizeFormat, KiloBytes(sum));
    listing.countText = FormatText(TextsOf(memory).countFormat, static_cast<int>(entries.size()));
    listing.entries = std::move(entries);
    return listing;
}

}  // namespace

int KiloBytes(std::int64_t bytes) {
    return static_cast<int>((bytes + 500) / 1000);
}

int FirstLogoNumber(int memory) {
    return memory == kRamMemory ? 0 : 1;
}

MemoryListing DownloadListing(int memory) {
    return Listing(memory, LogosPicked ? SelectedLogos.Entries() : std::vector<LogoEntry>{});
}

MemoryListing PrintListing(int memory) {
    if (memory == kNvMemory) {
        return Listing(memory, NvLogos.Entries(), true);
    }
    if (memory == kFlashMemory) {
        return Listing(memory, (FlashDownloaded ? FlashLogos : StoredFlashLogos).Entries());
    }
    return Listing(memory, RamDownloaded ? RamLogos.Entries() : std::vector<LogoEntry>{});
}

std::vector<int> RowsOfLogoNumbers(int memory, const std::vector<int>& numbers) {
    std::vector<int> rows;
    for (int number : numbers) {
        if (memory != kNvMemory) {
            rows.push_back(number - FirstLogoNumber(memory));
            continue;
        }
        for (int row = 0; row < NvLogos.Count(); ++row) {
            if (NvNumberAt(NvLogos, row) == number)
                rows.push_back(row);
        }
    }
    std::sort(rows.begin(), rows.end());
    return rows;
}

}  // namespace stampa
