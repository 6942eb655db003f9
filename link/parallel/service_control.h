// The service control manager, registry and file steps the parallel link uses
// to install and start the port I/O driver on platforms of the NT family. On
// Windows they are the system's own (SystemServiceControl); on Linux the
// platform is not of that family and none of this runs: the port I/O library
// is loaded directly. Tests drive the NT path with a fake.
#pragma once

#include <cstdint>
#include <string>

namespace stampa {

using ServiceHandle = std::intptr_t;  // 0 is none

inline constexpr int kServiceStopped = 1;
inline constexpr int kServiceRunning = 4;
inline constexpr int kErrorAccessDenied = 5;

struct ServiceParameters {
    std::string name;          // "DLPortIO"
    std::string displayName;   // "DriverLINX Port I/O Driver"
    std::uint32_t access = 0;  // asked for the new service
    int serviceType = 0;       // kernel driver: 1
    int startType = 0;         // on demand: 3
    int errorControl = 0;      // normal: 1
    std::string binaryPath;    // the driver file
    std::string loadOrderGroup;
};

class IServiceControl {
  public:
    virtual ~IServiceControl() = default;
    // Each call reports its system error code in `error` (0 on success).
    virtual ServiceHandle OpenManager(std::uint32_t access, int& error) = 0;
    virtual ServiceHandle OpenService(ServiceHandle manager, const std::string& name,
                                      std::uint32_t access, int& error) = 0;
    virtual ServiceHandle CreateService(ServiceHandle manager, const ServiceParameters& p,
                                        int& error) = 0;
    virtual bool QueryState(ServiceHandle service, int& state, int& error) = 0;
    virtual bool Start(ServiceHandle service, int& error) = 0;
    virtual bool Stop(ServiceHandle service, int& error) = 0;
    virtual bool Delete(ServiceHandle service, int& error) = 0;
    virtual bool CloseHandle(ServiceHandle handle) = 0;

    virtual ServiceHandle OpenKey(const std::string& root, const std::string& subKey,
                                  std::uint32_t access) = 0;
    virtual bool QueryValue(ServiceHandle key, const std::string& name, std::string& value) = 0;
    virtual void CloseKey(ServiceHandle key) = 0;

    // Opens an existing file for reading and writing, unshared, and closes it again.
    virtual bool CanOpenFile(const std::string& path) = 0;
    virtual void CreateDirectory(const std::string& path) = 0;
    virtual bool CopyFile(const std::string& from, const std::string& to) = 0;
};

// The platform's service manager, registry and files: Windows' own; nullptr
// on Linux.
IServiceControl* SystemServiceControl();

// Whether the platform is of the NT family (every Windows since 2000).
bool PlatformIsNtFamily();

// One open registry key, closed when destroyed.
class RegistryKey {
  public:
    explicit RegistryKey(IServiceControl& control) : control_(control) {}
    ~RegistryKey() { Close(); }
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;

    bool Open(const std::string& root, const std::string& subKey) {
        Close();
        key_ = control_.OpenKey(root, subKey, 0xF003F);  // all access
        return key_ != 0;
    }
    bool Query(const std::string& name, std::string& value) {
        return key_ != 0 && control_.QueryValue(key_, name, value);
    }
    void Close() {
        if (key_ != 0)
            control_.CloseKey(key_);
        key_ = 0;
    }

  private:
    IServiceControl& control_;
    ServiceHandle key_ = 0;
};

}  // namespace stampa
