#include "common/library_loader.h"

#include <dlfcn.h>
#include <unistd.h>

#include <filesystem>
#include <vector>

namespace stampa {

std::string ProgramDirectory() {
    std::error_code error;
    const auto self = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string() : self.parent_path().string();
}

std::vector<std::string> LibraryFolders(const std::string& programDirectory,
                                        const std::string& workingDirectory) {
    std::vector<std::string> folders;
    if (!programDirectory.empty()) {
        folders.push_back(programDirectory);
        // Installed: the program in PREFIX/bin, its libraries in the package's own folder.
        const std::filesystem::path program(programDirectory);
        folders.push_back((program.parent_path() / STAMPA_PRIVATE_LIBDIR).string());
    }
    folders.push_back(workingDirectory);
    return folders;
}

std::string SharedLibraryFileName(const std::string& stem) {
    return "lib" + stem + ".so";
}

LoadedLibrary::~LoadedLibrary() {
    dlclose(handle_);
}

namespace {

void* Open(const std::string& path) {
    return dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
}

}  // namespace

std::unique_ptr<LoadedLibrary> LoadedLibrary::Load(const std::string& fileName) {
    auto wrap = [](void* handle, const std::string& path) {
        return std::unique_ptr<LoadedLibrary>(new LoadedLibrary(handle, path));
    };
    if (fileName.find('/') != std::string::npos) {
        void* handle = Open(fileName);
        return handle != nullptr ? wrap(handle, fileName) : nullptr;
    }
    std::error_code error;
    const auto folders =
        LibraryFolders(ProgramDirectory(), std::filesystem::current_path(error).string());
    for (const std::string& folder : folders) {
        const std::string path = folder + "/" + fileName;
        if (!folder.empty() && access(path.c_str(), F_OK) == 0) {
            if (void* handle = Open(path)) {
                return wrap(handle, path);
            }
        }
    }
    void* handle = Open(fileName);  // the system's own search
    return handle != nullptr ? wrap(handle, fileName) : nullptr;
}

void* LoadedLibrary::Symbol(const char* name) const {
    return dlsym(handle_, name);
}

}  // namespace stampa
