// Deleting NV graphics from the printer: the print page's "删除NV图形" and
// stampa-cli's "nv delete". Runs on the caller's (user-interface) thread.
#pragma once

#include <vector>

namespace stampa {

// Asks, then sends "delete all" (`all`) or one delete per key number in
// ascending order, and on success removes those logos from the NV list and
// writes the model's NV list file. Reports by message boxes; true when the
// printer took every delete. A failure leaves the NV list and its file as they
// were. Numbers outside 1..99 are not sent.
bool DeleteNvLogos(bool all, std::vector<int> numbers);

}  // namespace stampa
