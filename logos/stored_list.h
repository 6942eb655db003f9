// Stored-logo list files: per printer model, the logos last downloaded into the
// printer's FLASH, kept between runs.
//
// A file is a header record and one record per logo, 796 bytes each, with the
// text fields in the Chinese code page, written as a text stream: every 0x0A
// byte of a record stands on disk as 0D 0A. Files written by earlier versions
// of the program read back unchanged, and the other way round.
#pragma once

#include <atomic>
#include <cstddef>
#include <string>
#include <vector>

#include "logos/logo_list.h"
#include "logos/logo_store.h"

namespace stampa {

inline constexpr std::size_t kLogoRecordSize = 796;
inline constexpr std::size_t kRecordNameField = 256;
inline constexpr std::size_t kRecordPathField = 260;

// The file of a printer model: the start directory, "/", the model name.
std::string StoredLogoFileName(const std::string& startDirectory, const std::string& model);

// Writes the store's FlashLogos to `fileName`, replacing the file whole. 1
// when written; 0 when FlashLogos is empty (the file is not touched) or the
// file cannot be written (an existing file stays as it was).
int SaveLogoList(const LogoStore& logos, const std::string& fileName);

// Appends the file's entries to the store's StoredFlashLogos. 1 on success
// (also for a negative count); 0 when the file cannot be opened or its count is 0.
int LoadLogoList(LogoStore& logos, const std::string& fileName);

// The same two for any list.
int SaveLogoListFrom(const CLogoList& list, const std::string& fileName);
int LoadLogoListInto(CLogoList& list, const std::string& fileName);

// Empties StoredFlashLogos, reads it from the file of the store's model when a
// model is chosen, and sets StoredListLoaded whether or not the file could be read.
void ReloadStoredFlashLogos(LogoStore& logos);

// The file's bytes as they go to disk for the given entries (records, then the
// line-end translation). Exposed for tests and tools that build such files.
// The conversion-mode field is written as 0 unless `keepModes`.
std::vector<unsigned char> EncodeLogoListFile(const std::vector<LogoEntry>& entries,
                                              bool keepModes = false);

}  // namespace stampa
