// What the operator reads about each of the printer's three logo memories, in
// one place: the jobs' questions and messages, the pages' capacity lines and
// the command line's name for it.
#pragma once

#include <cstdint>

namespace stampa {

struct MemoryTexts {
    const char* name;              // "FLASH", "RAM", "NV"
    const char* downloadQuestion;  // asked before a download
    const char* downloadFirst;     // a print with nothing stored
    const char* sizeFormat;        // the capacity line: K bytes
    const char* countFormat;       // the capacity line: logos
};

// kRamMemory, kFlashMemory or kNvMemory; anything else is taken as RAM.
const MemoryTexts& TextsOf(int memory);

// K bytes as the pages show them: (bytes + 500) / 1000.
inline int KiloBytes(std::int64_t bytes) {
    return static_cast<int>((bytes + 500) / 1000);
}

}  // namespace stampa
