// The printer's three logo memories, and everything that differs between
// them in one descriptor each: the limits, the commands a download and a print
// send, the list that records what the memory holds, and the texts the
// operator reads about it.
#pragma once

#include <atomic>
#include <cstdint>
#include <optional>
#include <string>

#include "link/link_state.h"
#include "logos/logo_list.h"
#include "logos/logo_store.h"
#include "protocol/commands.h"

namespace stampa {

class Session;

// The values are the download and print pages' memory buttons, in order.
enum class Memory : int { Ram = 0, Flash = 1, Nv = 2 };
inline constexpr Memory kRamMemory = Memory::Ram;
inline constexpr Memory kFlashMemory = Memory::Flash;
inline constexpr Memory kNvMemory = Memory::Nv;

// A page's memory button (0, 1, 2) as a memory; anything else is RAM.
Memory MemoryOfButton(int button);
inline int ButtonOf(Memory memory) {
    return static_cast<int>(memory);
}

struct MemoryTexts {
    const char* name;              // "FLASH", "RAM", "NV"
    const char* downloadQuestion;  // asked before a download
    const char* downloadFirst;     // a print with nothing stored
    const char* sizeFormat;        // the capacity line: K bytes
    const char* countFormat;       // the capacity line: logos
    const char* holdsNoMore;       // refused: more logos picked than it holds
};

struct MemoryDescriptor {
    Memory memory;
    MemoryTexts texts;
    // Logos are numbered from this (FS p n from 1, GS # n from 0, NV keys from "01").
    int firstNumber;
    int mostLogos;
    // The capacity rule of a whole download: logo data + bytesPerLogo per logo
    // + bytesPerDownload must not exceed `capacity`. NV graphics: the printer
    // tells its capacity (capacity -1).
    std::int64_t capacity;
    int bytesPerLogo;
    int bytesPerDownload;
    // NV graphics are addressed by key and downloaded by a plan of what changed
    // (transfer/nv_plan.h); FLASH and RAM by number, every logo each time.
    bool addressedByKey;
    // A download into it ends the print notice due on the spooler link.
    bool endsPrintNotice;
    // CAN's result counts before a print from it (the stored memories).
    bool cancelCounts;

    // The command that opens a download of `count` logos (FLASH: FS q n,
    // which defines them all; nullptr: none) and its length.
    std::optional<Bytes> (*opening)(int count);
    int openingBytes;
    // Whether its define command can describe a logo of this size.
    bool (*fitsCommand)(std::int64_t width, std::int64_t height);
    // The bytes a download of one logo sends (NV: with its definition).
    long long (*downloadBytes)(const LogoEntry& logo);
    // Sends logo file `path` as logo `position` of the download (FLASH, RAM).
    bool (*sendLogo)(PortHandleValue handle, const std::string& path, int position);
    // Prints stored logo `number` (FLASH, RAM) or `key` (NV) at `mode`.
    int (*sendPrint)(PortHandleValue handle, int mode, int number, const std::string& key);

    // What the memory holds after this run's last download into it, and the
    // mark that download leaves.
    CLogoList LogoStore::*held;
    std::atomic<bool> Session::*downloaded;
    // FLASH keeps its logos from run to run: before a download in this run,
    // the model's stored-logo file says what it holds (nullptr: nothing is
    // known of it before a download).
    CLogoList LogoStore::*storedFile;
};

const MemoryDescriptor& Describe(Memory memory);

inline const MemoryTexts& TextsOf(Memory memory) {
    return Describe(memory).texts;
}

// K bytes as the pages show them: (bytes + 500) / 1000.
inline int KiloBytes(std::int64_t bytes) {
    return static_cast<int>((bytes + 500) / 1000);
}

}  // namespace stampa
