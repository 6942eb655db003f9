// What the download and print pages list for a memory, and how the numbers
// they show map to list rows: FLASH logos are numbered from 1, RAM logos from
// 0, NV graphics by their keys (1..99, which stay with a logo when others are
// deleted); sizes are shown in K bytes, (bytes + 500) / 1000.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "logos/logo_list.h"
#include "transfer/job_pages.h"
#include "transfer/memory.h"  // KiloBytes
#include "transfer/session.h"

namespace stampa {

// The first number shown for a memory's logos: 0 for RAM, else 1.
int FirstLogoNumber(Memory memory);

struct MemoryListing {
    std::vector<LogoEntry> entries;
    std::vector<std::string> numbers;  // the number shown for each entry
    std::string sizeText;              // "%d / 128 K Bytes", "%d / 12 K Bytes" or "%d K Bytes"
    std::string countText;             // "%d / 255", "%d / 8" or "%d / 99"
    std::string estimateText;          // the download's "预计 %d 秒"; empty with nothing picked
};

// The picked logos as a download into `memory` would store them (none before
// the file dialog was confirmed). For NV graphics with the capacity known, the
// size line is what is free of it and the whole.
MemoryListing DownloadListing(const Session& session, Memory memory);

// Seconds a download of the picked logos into `memory` takes over the open
// link (of its own kind, whatever link button was clicked since), rounded (at least 1): serial from
// the baud rate (10 bits a byte) plus what each one-byte write costs (measured: about 10 µs); the
// other links from the speed the last download over the same kind of link achieved, or before one
// from a typical receipt printer's (USB, network and spooler 100 KB/s,
// parallel 50 KB/s). 0 with nothing picked.
int EstimatedDownloadSeconds(const Session& session, Memory memory);

// The logos the printer holds in `memory`: FLASH this run's download or else
// the model's stored list; RAM this run's RAM download, or none; NV graphics
// the keys the printer reported, or else the NV list (transfer/nv_rows.h).
MemoryListing PrintListing(const Session& session, Memory memory);

// The rows of a memory's list for the numbers the pages show, ascending.
std::vector<int> RowsOfLogoNumbers(const Session& session, Memory memory,
                                   const std::vector<int>& numbers);

}  // namespace stampa
