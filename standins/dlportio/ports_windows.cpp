#include <windows.h>

#include "standins/dlportio/backend.h"

namespace dlportio {
namespace {

// User programs cannot reach port registers on Windows: the maker's port
// driver does that. Without it the port reads as a printer that is off.
class NoPorts final : public Backend {
  public:
    std::uint8_t Read(std::uint32_t, Register) override { return 0xFF; }
    void Write(std::uint32_t, Register, std::uint8_t) override {}
};

}  // namespace

std::unique_ptr<Backend> HardwarePorts() {
    return std::make_unique<NoPorts>();
}

SimPort* MapSimPort(const char* path) {
    const HANDLE file =
        CreateFileA(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return nullptr;
    const HANDLE mapping = CreateFileMappingA(file, nullptr, PAGE_READWRITE, 0, 0, nullptr);
    CloseHandle(file);
    if (mapping == nullptr)
        return nullptr;
    void* view = MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(SimPort));
    CloseHandle(mapping);  // the view keeps the mapping
    if (view == nullptr)
        return nullptr;
    auto* port = static_cast<SimPort*>(view);
    if (port->magic != kSimMagic) {
        UnmapViewOfFile(view);
        return nullptr;
    }
    return port;
}

void UnmapSimPort(SimPort* port) {
    if (port != nullptr)
        UnmapViewOfFile(port);
}

}  // namespace dlportio
