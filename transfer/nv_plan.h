// What an NV download writes. NV memory wears (the makers advise about ten NV
// writes a day), and other programs keep NV graphics of their own in the same
// printer, so a download touches only what changed:
// - the logos keep the keys "01".."NN" in list order;
// - where the printer reports its keys, a logo whose key it holds and whose
//   definition is the one last sent over this link is not sent again;
// - keys 01..99 of the previous NV list that the new list no longer has are
//   deleted one by one; every other key on the printer stays untouched;
// - where the free capacity does not hold a changed logo, its key is deleted
//   before it is defined again.
// `replaceAll` is the old way: delete all NV graphics, then define every logo.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "logos/nv_sent.h"
#include "protocol/commands.h"

namespace stampa {

// One definition as the download sends it: its head (GS ( L / GS 8 L function
// 67, with the key) and its rows.
struct NvDefinition {
    Bytes head;
    std::vector<std::uint8_t> rows;
    std::uint64_t Digest() const;  // of the head and the rows
};

// The definition of the 1-bit BMP `path` under the key of `number`; nullopt
// when the file cannot be read or the command cannot carry it.
std::optional<NvDefinition> ReadNvDefinition(const std::string& path, int number);

// What a definition takes of the printer's NV capacity, as Stampa counts it
// (parameters and rows): 11 + ceil(width / 8) x height.
long long NvDefinitionBytes(long long width, long long height);

enum class NvAction { Unchanged, Define, DeleteThenDefine };

struct NvPlannedLogo {
    int number = 0;            // the key's number, position + 1
    std::uint64_t digest = 0;  // of the definition; 0 when its file cannot be read
    long long bytes = 0;       // NvDefinitionBytes
    NvAction action = NvAction::Define;
};

// A logo the previous NV list held: its key's number and what it took.
struct NvHeldLogo {
    int number = 0;
    long long bytes = 0;
};

struct NvPlanInput {
    std::vector<NvPlannedLogo> logos;  // number, digest and bytes filled in
    std::vector<NvHeldLogo> previous;  // the NV list before the download
    // The keys the printer reported; nullopt where the link cannot read or the
    // printer did not tell.
    std::optional<std::vector<std::string>> printerKeys;
    std::optional<long long> freeBytes;   // as the printer told
    std::optional<long long> totalBytes;  // as the printer told
    NvSentRecord sent;
    std::string link;  // the port name the record knows the printer by
    bool replaceAll = false;
};

struct NvPlan {
    bool replaceAll = false;
    bool printerKnown = false;  // the keys were read: the result is checked after the writes
    std::vector<NvPlannedLogo> logos;
    std::vector<std::string> dropped;  // keys deleted (function 66) before any definition
    bool fits = true;                  // the capacity the printer told holds what is sent
    long long bytesSent = 0;           // what the definitions sent take
    NvSentRecord sent;                 // the record the plan was made from
    std::string link;

    int Defined() const;
    int Unchanged() const;
    int Deleted() const;   // dropped keys and deletes before a definition
    int NvWrites() const;  // definitions, deletes, and the one "delete all"
};

NvPlan PlanNvDownload(const NvPlanInput& input);

}  // namespace stampa
