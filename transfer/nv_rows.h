// The NV graphics as the print page lists them and the print and delete jobs
// address them: the keys the printer reported when last asked on this
// connection, each with its logo from the NV list where the key matches (named
// "?" otherwise); without such a report, the NV list itself.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "logos/logo_list.h"
#include "transfer/session.h"

namespace stampa {

struct NvRow {
    std::string key;  // two bytes, "01" .. "99" for the logos Stampa stores
    LogoEntry entry;
};

std::vector<NvRow> NvRows(const Session& session);

// After deletes the printer took: the keys are gone from the NV list and from
// the printer's report (`all`: every key). The NV list file is not written here.
void ForgetNvKeys(Session& session, const std::vector<std::string>& keys, bool all);

// The name shown for a key the NV list does not know.
inline constexpr const char* kUnknownNvName = "?";

}  // namespace stampa
