// Binding a shared library by its file name, as the program binds Pixmelt and
// the outside libraries: the program's own folder first, then the system's
// search (Linux: the installed program's private folder PREFIX/lib/stampa, the
// working directory, then LD_LIBRARY_PATH, the cache, /usr/lib; Windows:
// LoadLibrary's order).
#pragma once

#include <memory>
#include <string>
#include <vector>

namespace stampa {

class LoadedLibrary {
  public:
    ~LoadedLibrary();
    LoadedLibrary(const LoadedLibrary&) = delete;
    LoadedLibrary& operator=(const LoadedLibrary&) = delete;

    // nullptr when no folder of the search holds a loadable library of that name.
    static std::unique_ptr<LoadedLibrary> Load(const std::string& fileName);

    // The address of an exported name, nullptr when the library lacks it.
    void* Symbol(const char* name) const;

    // Where it was found.
    const std::string& Path() const { return path_; }

  private:
    LoadedLibrary(void* handle, std::string path) : handle_(handle), path_(std::move(path)) {}
    void* handle_;
    std::string path_;
};

// The folder of the running program.
std::string ProgramDirectory();

// Linux: the folders searched before the system's search, in order: the
// program's own, the installed layout's PREFIX/lib/stampa beside PREFIX/bin,
// the working directory.
std::vector<std::string> LibraryFolders(const std::string& programDirectory,
                                        const std::string& workingDirectory);

// The file name of the shared library `stem` on this platform:
// "libpixmelt.so" on Linux, "pixmelt.dll" on Windows.
std::string SharedLibraryFileName(const std::string& stem);

}  // namespace stampa
