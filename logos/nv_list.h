// The NV list: what the program last stored as NV graphics in the printer of
// the chosen model. Read when the model is chosen, replaced by an NV download,
// thinned by deletes, and written at once after each, to the model's stored-logo
// file name with ".nv" added.
//
// The file has the stored-logo format. Each record's conversion-mode field
// holds the number of the logo's key ("01".."99"): after a delete the remaining
// logos keep their keys, so their positions no longer tell them. In NvLogos the
// entry's mode is that number too.
#pragma once

#include <string>
#include <vector>

#include "logos/logo_store.h"

namespace stampa {

std::string NvListFileName(const std::string& startDirectory, const std::string& model);

// The key number of the entry at `position` (1..99); a record without one (a
// file written by hand) takes its position + 1.
int NvNumberAt(const CLogoList& list, int position);
int NvNumberOf(const LogoEntry& entry, int position);

// The store's NvLogos becomes the logos of `sent` with the keys 1, 2, ... in order.
void RecordNvDownload(LogoStore& logos, const CLogoList& sent);

// Removes the entries whose key numbers are listed.
void ForgetNvNumbers(LogoStore& logos, const std::vector<int>& numbers);

// Writes NvLogos to the model's NV file, replacing it whole; an empty list is
// written too (the printer holds none). 1 when written; 0 for an empty model or
// a file that cannot be written (an existing file stays as it was).
int SaveNvList(const LogoStore& logos);

// Empties NvLogos and reads it from the file of the store's model when a model
// is chosen.
void ReloadNvLogos(LogoStore& logos);

}  // namespace stampa
