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
    std::vector<std::string> folders;
    folders.push_back(ProgramDirectory());
    std::error_code error;
    folders.push_back(std::filesystem::current_path(error).string());
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
