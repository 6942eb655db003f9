#include "common/library_loader.h"

#include <windows.h>

#include <algorithm>
#include <filesystem>

namespace stampa {

std::string ProgramDirectory() {
    char path[MAX_PATH * 4];
    const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    if (length == 0 || length >= sizeof path) {
        return {};
    }
    return std::filesystem::path(std::string(path, length)).parent_path().string();
}

std::string SharedLibraryFileName(const std::string& stem) {
    return stem + ".dll";
}

LoadedLibrary::~LoadedLibrary() {
    FreeLibrary(static_cast<HMODULE>(handle_));
}

std::unique_ptr<LoadedLibrary> LoadedLibrary::Load(const std::string& fileName) {
    // A bare name is searched in the program's folder first, then the system's
    // folders, the working directory and PATH: Windows' own order for LoadLibrary.
    // The program's folder is tried explicitly so a copy elsewhere on PATH never wins.
    // LoadLibrary takes backslashes only.
    std::string path = fileName;
    std::replace(path.begin(), path.end(), '/', '\\');
    if (fileName.find_first_of("/\\") == std::string::npos) {
        const std::string beside = ProgramDirectory() + "\\" + fileName;
        if (GetFileAttributesA(beside.c_str()) != INVALID_FILE_ATTRIBUTES) {
            path = beside;
        }
    }
    // No "cannot find the library" box from the system: the caller reports it.
    const UINT oldMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    HMODULE module = LoadLibraryA(path.c_str());
    SetErrorMode(oldMode);
    if (module == nullptr) {
        return nullptr;
    }
    return std::unique_ptr<LoadedLibrary>(new LoadedLibrary(module, path));
}

void* LoadedLibrary::Symbol(const char* name) const {
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(handle_), name));
}

}  // namespace stampa
