// The parallel link's service steps against the system's own Service Control
// Manager and registry (under Wine in the tests): install, query, start, stop
// and remove the port driver's service, and find it in the registry. The
// driver file is not there, so starting fails and is reported, as it is on a
// PC without the maker's driver.
#include <gtest/gtest.h>

#include <string>

#include "link/parallel_link.h"
#include "link/service_control.h"

namespace stampa {
namespace {

constexpr int kServiceDoesNotExist = 1060;

class ServiceSteps : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetParallelState();
        ASSERT_TRUE(PlatformIsNtFamily());
        ASSERT_NE(SystemServiceControl(), nullptr);
    }
    void TearDown() override {
        CloseSCM();
        ResetParallelState();
    }

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
};

TEST_F(ServiceSteps, InstallQueryStartStopRemove) {
    ASSERT_EQ(ConnectSCM(), 1) << DriverLastError();
    ASSERT_EQ(DriverInstall(), 1) << DriverLastError();
    int error = 0;
    EXPECT_EQ(ServiceState(error), kServiceStopped) << "installed, not started";

    RegistryKey key(*SystemServiceControl());
    std::string image;
    ASSERT_TRUE(key.Open("HKEY_LOCAL_MACHINE", "SYSTEM\\CurrentControlSet\\Services\\DLPortIO"));
    ASSERT_TRUE(key.Query("ImagePath", image));
    EXPECT_NE(image.find("DLPortIO.SYS"), std::string::npos) << image;
    key.Close();

    EXPECT_EQ(DriverStart(), 0) << "there is no driver file to start";
    EXPECT_EQ(DriverLastError().rfind("DriverStart: Error #", 0), 0u) << DriverLastError();
    EXPECT_EQ(DriverStop(), 0) << "a service that never ran does not stop";
    EXPECT_EQ(DriverLastError().rfind("DriverStop: Error #", 0), 0u) << DriverLastError();

    ASSERT_EQ(DriverRemove(), 1) << DriverLastError();
    EXPECT_EQ(ServiceState(error), 0);
    EXPECT_EQ(error, kServiceDoesNotExist);
    EXPECT_EQ(CloseSCM(), 1);
}

// A second install finds the service there and leaves it to its owner: the
// remove at the end then keeps it.
TEST_F(ServiceSteps, AServiceInstalledBeforeIsKept) {
    ASSERT_EQ(ConnectSCM(), 1) << DriverLastError();
    ASSERT_EQ(DriverInstall(), 1);
    ASSERT_EQ(DriverInstall(), 1) << "already there";
    EXPECT_EQ(DriverRemove(), 1);
    int error = 0;
    EXPECT_EQ(ServiceState(error), kServiceStopped) << "kept for the program that installed it";
    ResetParallelState();  // forget that it was there before: the next remove deletes it
    ASSERT_EQ(ConnectSCM(), 1);
    EXPECT_EQ(DriverRemove(), 1);
    EXPECT_EQ(ServiceState(error), 0);
}

// Opening LPT1 runs the steps in order and, when the driver does not start,
// removes what it installed and leaves the port closed.
TEST_F(ServiceSteps, OpeningAPortWithoutTheDriverCleansUp) {
    EXPECT_EQ(ParallelPortOpen("LPT1"), kNoHandle);
    EXPECT_FALSE(PortDriverLoaded());
    EXPECT_EQ(DriverLastError().rfind("DriverStart: Error #", 0), 0u) << DriverLastError();
    int error = 0;
    EXPECT_EQ(ServiceState(error), 0) << "the service this open installed is removed again";
}

}  // namespace
}  // namespace stampa
