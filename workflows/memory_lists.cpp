#include "workflows/memory_lists.h"

#include <algorithm>

#include "common/messages.h"
#include "common/text_format.h"
#include "logos/logo_lists.h"
#include "transfer/transfer_state.h"

namespace stampa {
namespace {

MemoryListing Listing(int memory, std::vector<LogoEntry> entries) {
    const bool flash = memory == kFlashMemory;
    std::int64_t sum = 0;
    for (const LogoEntry& e : entries)
        sum += e.size;
    MemoryListing listing;
    listing.firstNumber = FirstLogoNumber(memory);
    listing.sizeText =
        FormatText(flash ? msg::kFlashSizeFormat : msg::kRamSizeFormat, KiloBytes(sum));
    listing.countText = FormatText(flash ? msg::kFlashCountFormat : msg::kRamCountFormat,
                                   static_cast<int>(entries.size()));
    listing.entries = std::move(entries);
    return listing;
}

}  // namespace

int KiloBytes(std::int64_t bytes) {
    return static_cast<int>((bytes + 500) / 1000);
}

int FirstLogoNumber(int memory) {
    return memory == kFlashMemory ? 1 : 0;
}

MemoryListing DownloadListing(int memory) {
    return Listing(memory, LogosPicked ? SelectedLogos.Entries() : std::vector<LogoEntry>{});
}

MemoryListing PrintListing(int memory) {
    if (memory == kFlashMemory) {
        return Listing(memory, (FlashDownloaded ? FlashLogos : StoredFlashLogos).Entries());
    }
    return Listing(memory, RamDownloaded ? RamLogos.Entries() : std::vector<LogoEntry>{});
}

std::vector<int> RowsOfLogoNumbers(int memory, const std::vector<int>& numbers) {
    std::vector<int> rows;
    for (int number : numbers)
        rows.push_back(number - FirstLogoNumber(memory));
    std::sort(rows.begin(), rows.end());
    return rows;
}

}  // namespace stampa
