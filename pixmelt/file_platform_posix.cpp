#include <sys/mman.h>
#include <unistd.h>

#include "pixmelt/file_platform.h"

namespace melt {

void* MapForReading(std::FILE* file, std::size_t size) {
    void* m = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE | MAP_POPULATE, ::fileno(file), 0);
    return m == MAP_FAILED ? nullptr : m;
}

void Unmap(void* mapping, std::size_t size) {
    ::munmap(mapping, size);
}

unsigned long ProcessId() {
    return static_cast<unsigned long>(::getpid());
}

std::FILE* CreateNewFile(const std::string& path) {
    return std::fopen(path.c_str(), "wbx");
}

bool MoveOver(const std::string& temporary, const std::string& path) {
    return std::rename(temporary.c_str(), path.c_str()) == 0;  // replaces atomically
}

}  // namespace melt
