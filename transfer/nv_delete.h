// Deleting NV graphics from the printer: the print page's "删除NV图形" and
// stampa-cli's "nv delete". Runs on the caller's (user-interface) thread.
#pragma once

#include <string>
#include <vector>

#include "transfer/session.h"

namespace stampa {

// Asks, then sends "delete all" (`all`) or one delete per key in ascending
// order, and on success removes those logos from the NV list (and from the
// printer's reported keys) and writes the model's NV list file. Reports by
// message boxes; true when the printer took every delete. A failure leaves the
// NV list and its file as they were. Keys that are not two bytes of 32..126
// are not sent.
bool DeleteNvLogos(Session& session, bool all, std::vector<std::string> keys);

// The keys of the print page's NV rows (rows outside the list are left out).
std::vector<std::string> NvKeysOfRows(const Session& session, const std::vector<int>& rows);

}  // namespace stampa
