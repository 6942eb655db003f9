#include "common/atomic_file.h"

#include <windows.h>

#include <cstdint>
#include <random>

namespace stampa {
namespace {

// A name no other writer, in this process or another, picks at the same
// time: the process and 64 random bits (the file is created exclusively).
std::string TemporaryNameFor(const std::string& path) {
    std::random_device random;
    const std::uint64_t bits = (std::uint64_t{random()} << 32) | random();
    return path + ".tmp-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(bits);
}

bool WriteAll(HANDLE file, const unsigned char* data, std::size_t size) {
    while (size > 0) {
        const DWORD piece = size > 0x40000000 ? 0x40000000 : static_cast<DWORD>(size);
        DWORD written = 0;
        if (!WriteFile(file, data, piece, &written, nullptr) || written == 0) {
            return false;
        }
        data += written;
        size -= written;
    }
    return true;
}

}  // namespace

bool ReplaceFileAtomically(const std::string& path, const std::vector<unsigned char>& bytes) {
    const std::string temporary = TemporaryNameFor(path);
    const HANDLE file = CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    bool ok = WriteAll(file, bytes.data(), bytes.size()) && FlushFileBuffers(file);
    ok = CloseHandle(file) && ok;
    // rename() refuses an existing target on Windows; MoveFileEx replaces it.
    ok = ok && MoveFileExA(temporary.c_str(), path.c_str(),
                           MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (!ok) {
        DeleteFileA(temporary.c_str());
    }
    return ok;
}

}  // namespace stampa
