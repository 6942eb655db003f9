#include "workflows/memory_lists.h"

#include <algorithm>
#include <cctype>
#include <cmath>

#include "common/messages.h"
#include "common/text_format.h"
#include "link/link_state.h"
#include "link/port.h"
#include "logos/logo_store.h"
#include "protocol/commands.h"
#include "transfer/download_job.h"
#include "transfer/memory.h"
#include "transfer/nv_rows.h"
#include "transfer/session.h"

namespace stampa {
namespace {

MemoryListing Listing(Memory memory, std::vector<LogoEntry> entries,
                      std::vector<std::string> numbers) {
    std::int64_t sum = 0;
    for (const LogoEntry& e : entries)
        sum += e.size;
    MemoryListing listing;
    listing.numbers = std::move(numbers);
    listing.sizeText = FormatText(TextsOf(memory).sizeFormat, KiloBytes(sum));
    listing.countText = FormatText(TextsOf(memory).countFormat, static_cast<int>(entries.size()));
    listing.entries = std::move(entries);
    return listing;
}

// Numbered from the memory's first number, one after the other.
MemoryListing Listing(Memory memory, std::vector<LogoEntry> entries) {
    std::vector<std::string> numbers;
    for (std::size_t i = 0; i < entries.size(); ++i)
        numbers.push_back(std::to_string(FirstLogoNumber(memory) + static_cast<int>(i)));
    return Listing(memory, std::move(entries), std::move(numbers));
}

// A key as the pages number it: "07" is 7; another tool's "A1" stays "A1".
std::string KeyNumber(const std::string& key) {
    const bool digits = key.size() == 2 && std::isdigit(static_cast<unsigned char>(key[0])) &&
                        std::isdigit(static_cast<unsigned char>(key[1]));
    return digits ? std::to_string(std::stoi(key)) : key;
}

MemoryListing NvListing(const Session& session) {
    std::vector<LogoEntry> entries;
    std::vector<std::string> numbers;
    for (NvRow& row : NvRows(session)) {
        numbers.push_back(KeyNumber(row.key));
        entries.push_back(std::move(row.entry));
    }
    return Listing(kNvMemory, std::move(entries), std::move(numbers));
}

}  // namespace

int FirstLogoNumber(Memory memory) {
    return Describe(memory).firstNumber;
}

MemoryListing DownloadListing(const Session& session, Memory memory) {
    MemoryListing listing = Listing(
        memory, session.LogosPicked ? session.SelectedLogos.Entries() : std::vector<LogoEntry>{});
    if (session.LogosPicked && session.SelectedCount > 0) {
        listing.estimateText =
            FormatText(msg::kEstimateFormat, EstimatedDownloadSeconds(session, memory));
    }
    if (Describe(memory).addressedByKey && session.NvCapacityTotal >= 0) {
        listing.sizeText = FormatText(msg::kNvFreeOfTotalFormat, KiloBytes(session.NvCapacityFree),
                                      KiloBytes(session.NvCapacityTotal));
    }
    return listing;
}

int EstimatedDownloadSeconds(const Session& session, Memory memory) {
    const long long bytes = DownloadStreamBytes(memory, session.SelectedLogos.Entries());
    if (!session.LogosPicked || bytes == 0) {
        return 0;
    }
    constexpr double kSerialByteOverhead = 10e-6;  // seconds for each one-byte write
    // The open link's own kind: a click on another link button before OK
    // changes the choice, not the link the download would go over.
    const auto open = FindConnection(session.PortHandle);
    const LinkKind kind = open ? open->Kind() : session.PortKind.load();
    double seconds = 0;
    if (kind == kSerialLink && session.PortBaudRate > 0) {
        seconds = static_cast<double>(bytes) * (10.0 / session.PortBaudRate + kSerialByteOverhead);
    } else {
        double speed = session.MeasuredThroughput(kind);
        if (speed <= 0)
            speed = kind == kParallelLink ? 50e3 : 100e3;
        seconds = static_cast<double>(bytes) / speed;
    }
    return std::max(1, static_cast<int>(std::lround(seconds)));
}

MemoryListing PrintListing(const Session& session, Memory memory) {
    const MemoryDescriptor& d = Describe(memory);
    if (d.addressedByKey) {
        return NvListing(session);
    }
    if (session.*d.downloaded) {
        return Listing(memory, (session.*d.held).Entries());
    }
    return Listing(memory, d.storedFile != nullptr ? (session.*d.storedFile).Entries()
                                                   : std::vector<LogoEntry>{});
}

std::vector<int> RowsOfLogoNumbers(const Session& session, Memory memory,
                                   const std::vector<int>& numbers) {
    std::vector<int> rows;
    for (int number : numbers) {
        if (!Describe(memory).addressedByKey) {
            rows.push_back(number - FirstLogoNumber(memory));
            continue;
        }
        const std::vector<NvRow> listed = NvRows(session);
        for (std::size_t row = 0; row < listed.size(); ++row) {
            if (listed[row].key == NvKeyOf(number))
                rows.push_back(static_cast<int>(row));
        }
    }
    std::sort(rows.begin(), rows.end());
    return rows;
}

}  // namespace stampa
