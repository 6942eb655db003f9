// The platform's part of Pixmelt's file work: the input's first bytes mapped
// for reading, a temporary output file of this process created afresh, and
// the temporary moved over the final name, replacing an older file whole. One
// source file per platform, chosen in CMake.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

namespace melt {

// The first `size` bytes of `file` mapped read-only; nullptr when the
// platform does not map (the caller reads the bytes instead).
void* MapForReading(std::FILE* file, std::size_t size);
void Unmap(void* mapping, std::size_t size);

// An id of this process for temporary names.
unsigned long ProcessId();

// Creates `path`, which must not exist yet, for writing bytes; nullptr when it
// exists or cannot be created.
std::FILE* CreateNewFile(const std::string& path);

// Moves `temporary` to `path`, replacing a file there. False when it cannot.
bool MoveOver(const std::string& temporary, const std::string& path);

}  // namespace melt
