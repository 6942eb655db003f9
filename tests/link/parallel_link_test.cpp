// The parallel link: the service steps on a platform of the NT family (against
// a fake service manager), and bytes through libDLPortIO.so and the simulated
// port to the virtual printer.
#include "link/parallel/parallel_link.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>

#include "link/link_open.h"
#include "link/link_state.h"
#include "link/port.h"
#include "link/serial/serial_link.h"
#include "protocol/commands.h"
#include "support/temp_dir.h"
#include "support/test_helpers.h"
#include "support/vprinter_process.h"

namespace stampa {
namespace {

using test::TempDir;
using test::VirtualPrinterProcess;

// A service manager and registry in memory, keeping a log of every call.
class FakeServices : public IServiceControl {
  public:
    bool registered = false;
    bool running = false;
    std::string imagePath;  // the registry's ImagePath
    std::set<std::string> existingFiles;
    std::vector<std::string> log;

    ServiceHandle OpenManager(std::uint32_t access, int& error) override {
        log.push_back("OpenManager " + Hex(access));
        error = 0;
        return 1;
    }
    ServiceHandle OpenService(ServiceHandle, const std::string& name, std::uint32_t access,
                              int& error) override {
        log.push_back("OpenService " + name + " " + Hex(access));
        error = registered ? 0 : 1060;  // no such service
        return registered ? 10 : 0;
    }
    ServiceHandle CreateService(ServiceHandle, const ServiceParameters& p, int& error) override {
        log.push_back("CreateService " + p.name + " " + Hex(p.access) + " " + p.binaryPath);
        registered = true;
        error = 0;
        return 11;
    }
    bool QueryState(ServiceHandle, int& state, int& error) override {
        state = running ? kServiceRunning : kServiceStopped;
        error = 0;
        return true;
    }
    bool Start(ServiceHandle, int& error) override {
        log.push_back("Start");
        running = true;
        error = 0;
        return true;
    }
    bool Stop(ServiceHandle, int& error) override {
        log.push_back("Stop");
        running = false;
        error = 0;
        return true;
    }
    bool Delete(ServiceHandle, int& error) override {
        log.push_back("Delete");
        registered = false;
        error = 0;
        return true;
    }
    bool CloseHandle(ServiceHandle) override { return true; }
    ServiceHandle OpenKey(const std::string&, const std::string& subKey,
                          std::uint32_t access) override {
        log.push_back("OpenKey " + subKey + " " + Hex(access));
        return registered ? 20 : 0;
    }
    bool QueryValue(ServiceHandle, const std::string&, std::string& value) override {
        value = imagePath;
        return true;
    }
    void CloseKey(ServiceHandle) override { log.push_back("CloseKey"); }
    bool CanOpenFile(const std::string& path) override { return existingFiles.count(path) > 0; }
    void CreateDirectory(const std::string& path) override {
        log.push_back("CreateDirectory " + path);
    }
    bool CopyFile(const std::string& from, const std::string& to) override {
        log.push_back("CopyFile " + from.substr(from.rfind('\\') + 1) + " -> " + to);
        existingFiles.insert(to);
        return true;
    }

    bool Logged(const std::string& prefix) const {
        for (const auto& l : log) {
            if (l.rfind(prefix, 0) == 0)
                return true;
        }
        return false;
    }

  private:
    static std::string Hex(std::uint32_t v) {
        char text[16];
        std::snprintf(text, sizeof text, "0x%X", v);
        return text;
    }
};

// A driver on a platform of the NT family, with the fake service manager.
class ParallelServiceTest : public ::testing::Test {
  protected:
    ParallelSettings Settings(IServiceControl* control) {
        ParallelSettings settings;
        settings.isNt = true;
        settings.services = control;
        return settings;
    }
    FakeServices services;
    ParallelDriver driver{Settings(&services)};
};

TEST(ParallelOutsideNt, TouchesNoServiceAndLoadsTheLibraryDirectly) {
    FakeServices services;
    ParallelSettings settings;
    settings.isNt = false;
    settings.services = &services;  // present, but the platform is not of the NT family
    ParallelDriver driver(settings);
    driver.ParallelOpen(0x378);
    EXPECT_TRUE(driver.PortDriverLoaded());
    EXPECT_EQ(driver.ParallelBaseAddress(), 0x378);
    EXPECT_EQ(driver.DriverFilesCheck(), 1);
    driver.ParallelShutdown();
    EXPECT_FALSE(driver.PortDriverLoaded());
    EXPECT_TRUE(services.log.empty());
}

TEST_F(ParallelServiceTest, InstallsStartsThenStopsAndRemovesItsOwnService) {
    driver.ParallelOpen(0x378);
    ASSERT_TRUE(driver.PortDriverLoaded());
    EXPECT_TRUE(services.Logged("OpenManager 0x17"));
    EXPECT_TRUE(services.Logged("CreateService DLPortIO 0x10034 "));
    EXPECT_TRUE(services.Logged("Start"));
    driver.ParallelShutdown();
    EXPECT_FALSE(driver.PortDriverLoaded());
    EXPECT_TRUE(services.Logged("Stop"));
    EXPECT_TRUE(services.Logged("Delete"));
    EXPECT_FALSE(services.registered);
}

TEST_F(ParallelServiceTest, AServiceAlreadyRegisteredAndRunningIsLeftAlone) {
    services.registered = true;
    services.running = true;
    driver.ParallelOpen(0x378);
    ASSERT_TRUE(driver.PortDriverLoaded());
    driver.ParallelShutdown();
    EXPECT_FALSE(services.Logged("CreateService"));
    EXPECT_FALSE(services.Logged("Start"));
    EXPECT_FALSE(services.Logged("Stop"));
    EXPECT_FALSE(services.Logged("Delete"));
    EXPECT_TRUE(services.registered && services.running);
}

TEST_F(ParallelServiceTest, ALibraryLackingANameUndoesTheServiceAndTheLinkTestFails) {
    ParallelSettings settings = Settings(&services);
    settings.portIoLibrary = DLPORTIO_INCOMPLETE_LIBRARY;
    LinkError why;
    EXPECT_EQ(ParallelPortOpen("LPT1", settings, &why), kNoHandle);
    EXPECT_EQ(why.step, LinkStep::Test);
    ASSERT_NE(OpenParallelDriver(), nullptr);
    EXPECT_FALSE(OpenParallelDriver()->PortDriverLoaded());
    EXPECT_TRUE(services.Logged("Stop"));
    EXPECT_TRUE(services.Logged("Delete"));
    EXPECT_FALSE(services.registered);
    EXPECT_EQ(PortClose(kNoHandle, kParallelLink), 1);
    EXPECT_EQ(OpenParallelDriver(), nullptr);
}

TEST_F(ParallelServiceTest, RegisteredServiceWithoutItsDriverFileGetsBothFilesCopied) {
    services.registered = true;
    services.imagePath = "\\??\\C:\\Drivers\\Port\\DLPortIO.SYS";
    EXPECT_EQ(driver.DriverFilesCheck(), 1);
    EXPECT_TRUE(services.Logged("OpenKey SYSTEM\\CurrentControlSet\\Services\\DLPortIO 0xF003F"));
    EXPECT_TRUE(services.Logged("CreateDirectory C:\\Drivers"));
    EXPECT_TRUE(services.Logged("CreateDirectory C:\\Drivers\\Port"));
    EXPECT_TRUE(services.Logged("CopyFile DLPortIO.DLL -> C:\\Drivers\\Port\\DLPortIO.DLL"));
    EXPECT_TRUE(services.Logged("CopyFile DLPortIO.SYS -> C:\\Drivers\\Port\\DLPortIO.SYS"));
    services.log.clear();
    EXPECT_EQ(driver.DriverFilesCheck(), 1);
    EXPECT_FALSE(services.Logged("CopyFile")) << "the driver file is there now";
}

TEST_F(ParallelServiceTest, Lpt2AfterLpt1ShutsDownAndStartsAgainAtItsAddress) {
    driver.ParallelOpen(0x378);
    services.log.clear();
    driver.ParallelOpen(0x278);
    EXPECT_TRUE(driver.PortDriverLoaded());
    EXPECT_EQ(driver.ParallelBaseAddress(), 0x278);
    EXPECT_TRUE(services.Logged("Stop"));
    EXPECT_TRUE(services.Logged("Start"));
}

TEST_F(ParallelServiceTest, AFailingStepLeavesItsText) {
    struct Refusing : FakeServices {
        ServiceHandle OpenManager(std::uint32_t, int& error) override {
            error = kErrorAccessDenied;
            return 0;
        }
    } refusing;
    ParallelDriver refused(Settings(&refusing));
    refused.ParallelOpen(0x378);
    EXPECT_FALSE(refused.PortDriverLoaded());
    EXPECT_EQ(refused.DriverLastError(), "ConnectSCM: Error #5");
}

// Through the real library and the simulated port, with the virtual printer.
class ParallelPortTest : public ::testing::Test {
  protected:
    LinkState linkState;
    void SetUp() override {
        setenv("DLPORTIO_SIM", sim.c_str(), 1);
        linkState.PortKind = kParallelLink;
    }
    void TearDown() override {
        PortClose(linkState.PortHandle);
        unsetenv("DLPORTIO_SIM");
    }
    std::unique_ptr<VirtualPrinterProcess> StartPrinter(std::vector<std::string> extra = {}) {
        std::vector<std::string> args = {"--lpt-sim",     sim,         "--out",
                                         dir.File("out"), "--capture", dir.File("capture")};
        args.insert(args.end(), extra.begin(), extra.end());
        auto printer = std::make_unique<VirtualPrinterProcess>(args);
        EXPECT_TRUE(printer->Ready()) << printer->Output();
        return printer;
    }
    std::vector<unsigned char> Captured(std::size_t atLeast) {
        return test::FileBytesOnceAtLeast(dir.File("capture"), atLeast);
    }
    TempDir dir;
    std::string sim = dir.File("lpt1.sim");
};

TEST_F(ParallelPortTest, LinkTestAndADownloadArriveIntact) {
    auto printer = StartPrinter();
    LinkSettings settings;
    settings.kind = kParallelLink;
    settings.parallelPort = "LPT1";
    const LinkOpenOutcome opened = OpenAndTestLink(settings, DefaultPrintDocInfo());
    ASSERT_EQ(opened.result, LinkOpenResult::Opened);
    linkState.PortHandle = opened.handle;
    EXPECT_EQ(linkState.PortHandle, kParallelToken);
    std::vector<unsigned char> data(100000);
    for (std::size_t i = 0; i < data.size(); ++i)
        data[i] = static_cast<unsigned char>(i * 7 + i / 300);
    ASSERT_EQ(PortWrite(linkState.PortHandle, data.data(), static_cast<int>(data.size())), 1);
    std::vector<unsigned char> want = {0x0A, 0x1B, 0x40};
    want.insert(want.end(), data.begin(), data.end());
    EXPECT_EQ(Captured(want.size()), want);
}

TEST_F(ParallelPortTest, PaperOutFailsTheFirstByteAfterTheLimit) {
    auto printer = StartPrinter({"--paper-out"});
    ParallelSettings fast;
    fast.clock = test::FastParallelClock();
    LinkError why;
    EXPECT_EQ(SerialOpen("LPT1", 0, 0, 0, 0, 0, {}, fast, &why), kNoHandle)
        << "the link test's LF cannot go";
    EXPECT_EQ(why.step, LinkStep::Write);
    EXPECT_EQ(why.osError, ETIMEDOUT);
    const auto driver = OpenParallelDriver();
    ASSERT_NE(driver, nullptr);
    EXPECT_TRUE(driver->PortDriverLoaded()) << "a failed open leaves the driver loaded";
    EXPECT_EQ(PortClose(kNoHandle, kParallelLink), 1);
    EXPECT_FALSE(driver->PortDriverLoaded()) << "until PortClose of the parallel kind";
}

TEST_F(ParallelPortTest, HeldBusyFailsTheWrite) {
    auto printer = StartPrinter({"--stall-after", "10"});
    ParallelSettings fast;
    fast.clock = test::FastParallelClock();
    linkState.PortHandle = SerialOpen("lpt1", 0, 0, 0, 0, 0, {}, fast);
    ASSERT_EQ(linkState.PortHandle, kParallelToken);
    const std::vector<unsigned char> data(70000, 0x41);
    EXPECT_EQ(PortWrite(linkState.PortHandle, data.data(), static_cast<int>(data.size())), 0);
}

TEST_F(ParallelPortTest, Lpt4HasNoAddressAndFailsItsTest) {
    auto printer = StartPrinter();
    EXPECT_EQ(SerialOpen("LPT4", 0, 0, 0, 0, 0), kNoHandle);
    EXPECT_TRUE(Captured(0).empty()) << "nothing written to a port opened before";
}

}  // namespace
}  // namespace stampa
