// Replacing a file whole, so that a crash or a full disk never leaves it half written.
#pragma once

#include <string>
#include <vector>

namespace stampa {

// Writes `bytes` to a new file beside `path`, flushes it to disk and renames it
// over `path`. On any failure the temporary file is removed, `path` is exactly
// as it was, and the result is false.
bool ReplaceFileAtomically(const std::string& path, const std::vector<unsigned char>& bytes);

}  // namespace stampa
