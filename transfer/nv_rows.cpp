#include "transfer/nv_rows.h"

#include <algorithm>

#include "logos/nv_list.h"
#include "protocol/commands.h"

namespace stampa {
namespace {

std::vector<NvRow> ListRows(const LogoStore& session) {
    std::vector<NvRow> rows;
    const std::vector<LogoEntry> entries = session.NvLogos.Entries();
    for (std::size_t i = 0; i < entries.size(); ++i)
        rows.push_back({NvKeyOf(NvNumberOf(entries[i], static_cast<int>(i))), entries[i]});
    return rows;
}

}  // namespace

std::vector<NvRow> NvRows(const Session& session) {
    std::vector<NvRow> listed = ListRows(session);
    const auto printerKeys = session.PrinterNvKeys();
    if (!printerKeys) {
        return listed;
    }
    std::vector<NvRow> rows;
    for (const std::string& key : *printerKeys) {
        const auto known = std::find_if(listed.begin(), listed.end(),
                                        [&key](const NvRow& row) { return row.key == key; });
        NvRow row{key, known != listed.end() ? known->entry : LogoEntry{}};
        if (known == listed.end())
            row.entry.name = std::string(kUnknownNvName);
        rows.push_back(std::move(row));
    }
    return rows;
}

void ForgetNvKeys(Session& session, const std::vector<std::string>& keys, bool all) {
    const auto gone = [&](const std::string& key) {
        return all || std::find(keys.begin(), keys.end(), key) != keys.end();
    };
    std::vector<int> numbers;
    const std::vector<LogoEntry> entries = session.NvLogos.Entries();
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const int number = NvNumberOf(entries[i], static_cast<int>(i));
        if (gone(NvKeyOf(number)))
            numbers.push_back(number);
    }
    ForgetNvNumbers(session, numbers);
    session.ForgetPrinterNvKeys(gone);
}

}  // namespace stampa
