#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include "pixmelt/file_platform.h"

namespace melt {

// Windows reads the pixels into memory: a mapping would need the file's handle.
void* MapForReading(std::FILE*, std::size_t) {
    return nullptr;
}

void Unmap(void*, std::size_t) {}

unsigned long ProcessId() {
    return GetCurrentProcessId();
}

std::FILE* CreateNewFile(const std::string& path) {
    const HANDLE handle = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return nullptr;
    }
    const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_WRONLY | _O_BINARY);
    if (fd < 0) {
        CloseHandle(handle);
        return nullptr;
    }
    std::FILE* file = _fdopen(fd, "wb");
    if (file == nullptr) {
        _close(fd);
    }
    return file;
}

// rename() on Windows refuses an existing target; MoveFileEx replaces it.
bool MoveOver(const std::string& temporary, const std::string& path) {
    return MoveFileExA(temporary.c_str(), path.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

}  // namespace melt
