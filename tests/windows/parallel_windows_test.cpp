// The parallel link on Windows. Its service steps against the system's own
// Service Control Manager and registry (under Wine in the tests): install,
// query, start, stop and remove the port driver's service, and find it in the
// registry; the driver file is not there, so starting fails and is reported,
// as on a PC without the maker's driver. And the handshake through
// DLPortIO.dll on a simulated port, the library mapping its shared file.
#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <string>
#include <thread>

#include "link/parallel/parallel_link.h"
#include "link/parallel/service_control.h"
#include "link/port.h"
#include "protocol/commands.h"
#include "standins/dlportio/sim_port.h"
#include "support/environment.h"
#include "support/temp_dir.h"

namespace stampa {
namespace {

constexpr int kServiceDoesNotExist = 1060;

class ServiceSteps : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(PlatformIsNtFamily());
        ASSERT_NE(SystemServiceControl(), nullptr);
    }
    void TearDown() override { driver->CloseSCM(); }
    // The system's own service manager, as the program opens LPT1 with it.
    std::unique_ptr<ParallelDriver> driver = std::make_unique<ParallelDriver>(ParallelSettings{});

    // The service's state through a connection of the test's own; 0 when absent.
    int ServiceState(int& error) {
        IServiceControl& scm = *SystemServiceControl();
        const ServiceHandle manager = scm.OpenManager(0x1, error);
        if (manager == 0)
            return 0;
        int state = 0;
        const ServiceHandle service = scm.OpenService(manager, "DLPortIO", 0x4, error);
        if (service != 0) {
            scm.QueryState(service, state, error);
            scm.CloseHandle(service);
        }
        scm.CloseHandle(manager);
        return state;
    }
    // A deleted service lingers, marked for deletion, until its service
    // manager lets go of it, and may vanish a moment later: a test starts once
    // the previous one's no longer exists at all.
    void WaitUntilNoService() {
        for (int i = 0; i < 100; ++i) {
            int error = 0;
            if (ServiceState(error) == 0 && error == kServiceDoesNotExist)
                return;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
    }
};

TEST_F(ServiceSteps, InstallQueryStartStopRemove) {
    ASSERT_EQ(driver->ConnectSCM(), 1) << driver->DriverLastError();
    ASSERT_EQ(driver->DriverInstall(), 1) << driver->DriverLastError();
    int error = 0;
    EXPECT_EQ(ServiceState(error), kServiceStopped) << "installed, not started";

    RegistryKey key(*SystemServiceControl());
    std::string image;
    ASSERT_TRUE(key.Open("HKEY_LOCAL_MACHINE", "SYSTEM\\CurrentControlSet\\Services\\DLPortIO"));
    ASSERT_TRUE(key.Query("ImagePath", image));
    EXPECT_NE(image.find("DLPortIO.SYS"), std::string::npos) << image;
    key.Close();

    EXPECT_EQ(driver->DriverStart(), 0) << "there is no driver file to start";
    EXPECT_EQ(driver->DriverLastError().rfind("DriverStart: Error #", 0), 0u)
        << driver->DriverLastError();
    EXPECT_EQ(driver->DriverStop(), 0) << "a service that never ran does not stop";
    EXPECT_EQ(driver->DriverLastError().rfind("DriverStop: Error #", 0), 0u)
        << driver->DriverLastError();

    ASSERT_EQ(driver->DriverRemove(), 1) << driver->DriverLastError();
    EXPECT_EQ(ServiceState(error), 0);
    EXPECT_EQ(error, kServiceDoesNotExist);
    EXPECT_EQ(driver->CloseSCM(), 1);
}

// A second install finds the service there and leaves it to its owner: the
// remove at the end then keeps it.
TEST_F(ServiceSteps, AServiceInstalledBeforeIsKept) {
    WaitUntilNoService();
    ASSERT_EQ(driver->ConnectSCM(), 1) << driver->DriverLastError();
    ASSERT_EQ(driver->DriverInstall(), 1);
    ASSERT_EQ(driver->DriverInstall(), 1) << "already there";
    EXPECT_EQ(driver->DriverRemove(), 1);
    int error = 0;
    EXPECT_EQ(ServiceState(error), kServiceStopped) << "kept for the program that installed it";
    // A new driver does not know it was there before: its remove deletes it.
    driver = std::make_unique<ParallelDriver>(ParallelSettings{});
    ASSERT_EQ(driver->ConnectSCM(), 1);
    EXPECT_EQ(driver->DriverRemove(), 1) << driver->DriverLastError();
    WaitUntilNoService();
    EXPECT_EQ(ServiceState(error), 0);
}

// Opening LPT1 runs the steps in order and, when the driver does not start,
// removes what it installed and leaves the port closed.
TEST_F(ServiceSteps, OpeningAPortWithoutTheDriverCleansUp) {
    WaitUntilNoService();
    LinkError why;
    EXPECT_EQ(ParallelPortOpen("LPT1", {}, &why), kNoHandle);
    const auto opened = OpenParallelDriver();
    ASSERT_NE(opened, nullptr);
    EXPECT_FALSE(opened->PortDriverLoaded());
    EXPECT_EQ(why.detail.rfind("DriverStart: Error #", 0), 0u) << why.detail;
    PortClose(kNoHandle, kParallelLink);
    WaitUntilNoService();
    int error = 0;
    EXPECT_EQ(ServiceState(error), 0) << "the service this open installed is removed again";
}

// Without the service steps (a platform outside the NT family), LPT1 goes
// straight to DLPortIO.dll: the link test's LF and a command are strobed into
// the simulated port's ring, in order.
TEST(ParallelSimulatedPort, BytesReachTheSharedFileThroughDLPortIO) {
    test::TempDir dir;
    const std::string sim = dir.File("lpt.sim");
    auto port = std::make_unique<dlportio::SimPort>();
    port->magic = dlportio::kSimMagic;
    port->ringSize = dlportio::kSimRingSize;
    port->status = dlportio::kStatusIdle;
    std::ofstream(sim, std::ios::binary)
        .write(reinterpret_cast<const char*>(port.get()), sizeof *port);
    test::SetEnvironment("DLPORTIO_SIM", sim);
    ParallelSettings outsideNt;
    outsideNt.isNt = false;

    LinkError why;
    const PortHandleValue handle = ParallelPortOpen("LPT1", outsideNt, &why);
    ASSERT_EQ(handle, kParallelToken) << DescribeLinkError(why);
    const unsigned char reset[] = {0x1B, 0x40};
    EXPECT_EQ(PortWrite(handle, reset, 2), 1);
    PortClose(handle);
    test::UnsetEnvironment("DLPORTIO_SIM");

    std::ifstream(sim, std::ios::binary).read(reinterpret_cast<char*>(port.get()), sizeof *port);
    ASSERT_EQ(port->head.load(), 3u);
    EXPECT_EQ(port->ring[0], 0x0A) << "the link test's LF";
    EXPECT_EQ(port->ring[1], 0x1B);
    EXPECT_EQ(port->ring[2], 0x40);
}

}  // namespace
}  // namespace stampa
