// The parallel link's service, registry and file steps through Windows' own
// Service Control Manager, registry and file functions.
#include <windows.h>
// The interface's own names, not Windows' character-set macros.
#undef CreateService
#undef OpenService
#undef CreateDirectory
#undef CopyFile

#include "link/parallel/service_control.h"

namespace stampa {
namespace {

template <typename H>
H As(ServiceHandle handle) {
    return reinterpret_cast<H>(handle);
}

ServiceHandle Handle(const void* h) {
    return reinterpret_cast<ServiceHandle>(h);
}

int Failed(int& error) {
    error = static_cast<int>(GetLastError());
    return 0;
}

HKEY RootKey(const std::string& root) {
    if (root == "HKEY_CURRENT_USER")
        return HKEY_CURRENT_USER;
    if (root == "HKEY_CLASSES_ROOT")
        return HKEY_CLASSES_ROOT;
    if (root == "HKEY_USERS")
        return HKEY_USERS;
    return HKEY_LOCAL_MACHINE;
}

class WindowsServiceControl final : public IServiceControl {
  public:
    ServiceHandle OpenManager(std::uint32_t access, int& error) override {
        const SC_HANDLE m = ::OpenSCManagerA(nullptr, nullptr, access);
        return m != nullptr ? Handle(m) : Failed(error);
    }
    ServiceHandle OpenService(ServiceHandle manager, const std::string& name, std::uint32_t access,
                              int& error) override {
        const SC_HANDLE s = ::OpenServiceA(As<SC_HANDLE>(manager), name.c_str(), access);
        return s != nullptr ? Handle(s) : Failed(error);
    }
    ServiceHandle CreateService(ServiceHandle manager, const ServiceParameters& p,
                                int& error) override {
        const SC_HANDLE s = ::CreateServiceA(
            As<SC_HANDLE>(manager), p.name.c_str(), p.displayName.c_str(), p.access,
            static_cast<DWORD>(p.serviceType), static_cast<DWORD>(p.startType),
            static_cast<DWORD>(p.errorControl), p.binaryPath.c_str(),
            p.loadOrderGroup.empty() ? nullptr : p.loadOrderGroup.c_str(), nullptr, nullptr,
            nullptr, nullptr);
        return s != nullptr ? Handle(s) : Failed(error);
    }
    bool QueryState(ServiceHandle service, int& state, int& error) override {
        SERVICE_STATUS status{};
        if (!::QueryServiceStatus(As<SC_HANDLE>(service), &status))
            return Failed(error);
        state = static_cast<int>(status.dwCurrentState);
        return true;
    }
    bool Start(ServiceHandle service, int& error) override {
        return ::StartServiceA(As<SC_HANDLE>(service), 0, nullptr) || Failed(error);
    }
    bool Stop(ServiceHandle service, int& error) override {
        SERVICE_STATUS status{};
        return ::ControlService(As<SC_HANDLE>(service), SERVICE_CONTROL_STOP, &status) ||
               Failed(error);
    }
    bool Delete(ServiceHandle service, int& error) override {
        return ::DeleteService(As<SC_HANDLE>(service)) || Failed(error);
    }
    bool CloseHandle(ServiceHandle handle) override {
        return ::CloseServiceHandle(As<SC_HANDLE>(handle)) != 0;
    }
    ServiceHandle OpenKey(const std::string& root, const std::string& subKey,
                          std::uint32_t access) override {
        HKEY key = nullptr;
        return ::RegOpenKeyExA(RootKey(root), subKey.c_str(), 0, access, &key) == ERROR_SUCCESS
                   ? Handle(key)
                   : 0;
    }
    bool QueryValue(ServiceHandle key, const std::string& name, std::string& value) override {
        char buffer[1024];
        DWORD size = sizeof buffer - 1;
        DWORD type = 0;
        if (::RegQueryValueExA(As<HKEY>(key), name.c_str(), nullptr, &type,
                               reinterpret_cast<BYTE*>(buffer), &size) != ERROR_SUCCESS ||
            (type != REG_SZ && type != REG_EXPAND_SZ))
            return false;
        buffer[size] = '\0';
        value = buffer;  // up to the terminating zero
        return true;
    }
    void CloseKey(ServiceHandle key) override { ::RegCloseKey(As<HKEY>(key)); }
    bool CanOpenFile(const std::string& path) override {
        const HANDLE file = ::CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            return false;
        ::CloseHandle(file);
        return true;
    }
    void CreateDirectory(const std::string& path) override {
        ::CreateDirectoryA(path.c_str(), nullptr);
    }
    bool CopyFile(const std::string& from, const std::string& to) override {
        return ::CopyFileA(from.c_str(), to.c_str(), FALSE) != 0;
    }
};

}  // namespace

IServiceControl* SystemServiceControl() {
    static WindowsServiceControl control;
    return &control;
}

bool PlatformIsNtFamily() {
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof version;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    const BOOL known = GetVersionExA(&version);
#pragma GCC diagnostic pop
    return known && version.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

}  // namespace stampa
