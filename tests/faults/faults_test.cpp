// Failing printers on every link where the fault exists: each failure gives the
// system's message, leaves the lists and the stored-logo file as they were,
// leaves the program usable (a new connection and a retry succeed) and leaks
// no descriptor.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <thread>

#include "link/link_error.h"
#include "link/link_open.h"
#include "link/link_state.h"
#include "link/network/network_link.h"
#include "link/parallel/parallel_link.h"
#include "link/port.h"
#include "link/serial/serial_link.h"
#include "logos/logo_store.h"
#include "logos/stored_list.h"
#include "support/bmp_files.h"
#include "support/job_pages.h"
#include "support/logo_files.h"
#include "support/recording_operator.h"
#include "support/temp_dir.h"
#include "support/test_helpers.h"
#include "support/vprinter_process.h"
#include "transfer/download_job.h"
#include "transfer/print_job.h"
#include "transfer/session.h"
#include "workflows/startup.h"

namespace stampa {
namespace {

using test::RecordingOperator;
using test::TempDir;
using test::VirtualPrinterProcess;

constexpr const char* kCommunicationFailed = "通讯失败，请重试!";

struct LinkCase {
    const char* name;
    PortKindValue kind;
};

class FaultTest : public ::testing::TestWithParam<LinkCase> {
  protected:
    Session session;
    // Set where a test wants the parallel port's busy limit to pass at once.
    std::shared_ptr<std::atomic<bool>> fastClock = std::make_shared<std::atomic<bool>>(false);
    void SetUp() override {
        setenv("QZUSB_DEVICE_DIR", dir.Path().c_str(), 1);
        setenv("XDG_CONFIG_HOME", dir.File("config").c_str(), 1);
        setenv("DLPORTIO_SIM", dir.File("lpt.sim").c_str(), 1);
        setenv("QZUSB_STALL_MS", "300", 1);  // a USB write gives up after 300 ms without progress
        session.timings.network = {std::chrono::milliseconds(1000), std::chrono::milliseconds(300)};
        std::filesystem::create_directories(dir.File("config/stampa/ports"));
        ASSERT_TRUE(BindRuntimeLibraries({PIXMELT_LIBRARY}));
        session.SetPauses({std::chrono::milliseconds(0), std::chrono::milliseconds(0)});
        session.timings.serial.statusWait = std::chrono::milliseconds(300);
        session.timings.serial.afterTest = {0xFFFFFFFF, 0, 150, 150};
        session.StartDirectory = dir.Path().string();
        session.PrinterModel = "RP-820";
        session.PortKind = GetParam().kind;
        session.parallel.clock = test::FastParallelClock(fastClock);
        // Logos big enough that a dropped link meets the writer (more than a pipe holds).
        for (int i = 0; i < 3; ++i) {
            test::WriteAndPick(
                session, dir, "l" + std::to_string(i) + ".bmp",
                test::Bmp1(1600, 200, [](int x, int y) { return (x + y) % 5 == 0; }));
        }
        session.FlashLogos.Append(0, "before.bmp", "/before.bmp", "/before.bmp", 32, 8, 8, 0);
        ASSERT_EQ(
            SaveLogoList(session, StoredLogoFileName(session.StartDirectory, session.PrinterModel)),
            1);
        storedBefore =
            test::ReadFileBytes(StoredLogoFileName(session.StartDirectory, session.PrinterModel));
        descriptorsBefore = test::OpenDescriptors();
    }
    void TearDown() override {
        WaitForDownload(session);
        PortClose(session.PortHandle);
        UnbindRuntimeLibraries();
        for (const char* v :
             {"QZUSB_DEVICE_DIR", "XDG_CONFIG_HOME", "DLPORTIO_SIM", "QZUSB_STALL_MS"})
            unsetenv(v);
    }

    std::vector<std::string> LinkArguments() const {
        switch (GetParam().kind) {
            case kSerialLink:
                return {"--serial", dir.File("config/stampa/ports/com1")};
            case kUsbLink:
                return {"--usb", dir.File("lp0")};
            case kNetworkLink:
                return {"--tcp", "127.0.0.1:0"};
            default:
                return {"--lpt-sim", dir.File("lpt.sim")};
        }
    }
    std::unique_ptr<VirtualPrinterProcess> Printer(std::vector<std::string> faults) {
        auto args = LinkArguments();
        args.insert(args.end(), {"--out", dir.File("out")});
        args.insert(args.end(), faults.begin(), faults.end());
        auto printer = std::make_unique<VirtualPrinterProcess>(args);
        EXPECT_TRUE(printer->Ready()) << printer->Output();
        if (const auto at = printer->Output().find("tcp: 127.0.0.1:"); at != std::string::npos)
            networkPort = std::atoi(printer->Output().c_str() + at + 15);
        return printer;
    }
    LinkOpenResult Connect() {
        LinkSettings s;
        s.kind = GetParam().kind;
        s.baud = 57600;
        s.networkHost = "127.0.0.1";
        s.networkPort = networkPort;
        s.timings = session.timings;
        s.parallel = session.parallel;
        const LinkOpenOutcome outcome = OpenAndTestLink(s, session.PrintDocInfo);
        session.OpenFailure = outcome.error;
        session.PortHandle = outcome.handle;
        session.PortConfigured = outcome.result == LinkOpenResult::Opened;
        return outcome.result;
    }
    void Download() {
        test::RecordingDownloadPage page(kFlashMemory);
        StartDownload(session, page);
        ASSERT_TRUE(WaitForDownload(session, std::chrono::seconds(60)));
    }
    void Disconnect() {
        PortClose(session.PortHandle);
        session.PortHandle = kNoHandle;
        PortClose(kNoHandle, kParallelLink);  // a failed parallel open's driver
    }
    // Nothing recorded, the stored file untouched, no descriptor left.
    void ExpectNothingChanged() {
        EXPECT_EQ(session.FlashLogos.Count(), 1);
        EXPECT_EQ(session.FlashLogos.GetName(0), "before.bmp");
        EXPECT_FALSE(session.FlashDownloaded);
        EXPECT_TRUE(session.DownloadIdle);
        EXPECT_EQ(
            test::ReadFileBytes(StoredLogoFileName(session.StartDirectory, session.PrinterModel)),
            storedBefore);
    }
    // A healthy printer afterwards: a new connection and a retry succeed.
    void ExpectRetrySucceeds() {
        Disconnect();
        auto healthy = Printer({});
        ASSERT_EQ(Connect(), LinkOpenResult::Opened);
        Download();
        EXPECT_TRUE(session.FlashDownloaded);
        EXPECT_EQ(session.FlashLogos.Count(), 3);
        Disconnect();
        healthy.reset();
        EXPECT_EQ(test::OpenDescriptors(), descriptorsBefore) << "no descriptor leaked";
    }
    // Prints a list of stored logos under labels that is longer than anything
    // the kernel can hold between the program and the printer (a pipe 64 KiB at
    // most, a pseudo-terminal some 68 KiB): some 300 KB of commands, so the
    // print meets a printer that stopped taking bytes whatever the buffers.
    // The print fails there and stops.
    void PrintLongList() {
        for (int i = 0; i < 11000; ++i)
            session.StoredFlashLogos.Append(i, "s.bmp", "/s", "", 32, 8, 8, 0);
        test::FakePrintPage page;
        page.label = true;
        PrintLogos(session, page);
        ASSERT_FALSE(op.Texts().empty()) << "the print must notice the failed link";
        EXPECT_EQ(op.Texts().back(), kCommunicationFailed);
        EXPECT_TRUE(page.enabled);
    }

    TempDir dir;
    RecordingOperator op;
    int networkPort = 1;  // the network printer's; port 1 has no listener on loopback
    std::vector<unsigned char> storedBefore;
    int descriptorsBefore = 0;
};

TEST_P(FaultTest, PrinterSilentAtConnection) {
    std::unique_ptr<VirtualPrinterProcess> printer;
    if (GetParam().kind == kSerialLink)
        printer = Printer({"--no-status"});
    if (GetParam().kind == kParallelLink) {
        printer = Printer({"--paper-out"});
        *fastClock = true;
    }
    // USB: no printer at all, the device is not present; network: nobody listens.
    EXPECT_EQ(Connect(), LinkOpenResult::CommunicationFailed);
    EXPECT_EQ(session.PortHandle, kNoHandle);
    *fastClock = false;
    printer.reset();
    ExpectNothingChanged();
    ExpectRetrySucceeds();
}

TEST_P(FaultTest, PrinterDroppingInTheMiddleOfAFlashDownload) {
    if (GetParam().kind == kParallelLink)
        GTEST_SKIP() << "a parallel port has no connection to drop";
    auto printer = Printer({"--drop-after", "3000"});
    ASSERT_EQ(Connect(), LinkOpenResult::Opened);
    Download();
    EXPECT_EQ(op.Texts().back(), kCommunicationFailed);
    printer.reset();
    ExpectNothingChanged();
    ExpectRetrySucceeds();
}

TEST_P(FaultTest, PrinterDroppingInTheMiddleOfAPrint) {
    if (GetParam().kind == kParallelLink)
        GTEST_SKIP() << "a parallel port has no connection to drop";
    auto printer = Printer({"--drop-after", "8"});  // the link test, ESC @, then a few bytes
    ASSERT_EQ(Connect(), LinkOpenResult::Opened);
    PrintLongList();
    printer.reset();
    ExpectNothingChanged();
    ExpectRetrySucceeds();
}

TEST_P(FaultTest, StalledPrinter) {
    auto printer = Printer({"--stall-after", "2000"});
    ASSERT_EQ(Connect(), LinkOpenResult::Opened);
    if (GetParam().kind == kParallelLink)
        *fastClock = true;
    const auto start = std::chrono::steady_clock::now();
    Download();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10))
        << "a stalled printer is given up within its time-out";
    EXPECT_EQ(op.Texts().back(), kCommunicationFailed);
    EXPECT_EQ(LastLinkError(session).osError, ETIMEDOUT);
    *fastClock = false;
    printer.reset();
    ExpectNothingChanged();
    ExpectRetrySucceeds();
}

TEST_P(FaultTest, PrinterStallingInTheMiddleOfAPrint) {
    auto printer = Printer({"--stall-after", "100"});  // the link test, ESC @, a few commands
    ASSERT_EQ(Connect(), LinkOpenResult::Opened);
    if (GetParam().kind == kParallelLink)
        *fastClock = true;
    PrintLongList();
    EXPECT_EQ(LastLinkError(session).osError, ETIMEDOUT);
    *fastClock = false;
    printer.reset();
    ExpectNothingChanged();
    ExpectRetrySucceeds();
}

TEST_P(FaultTest, DeviceRemovedBetweenConnectionAndDownload) {
    auto printer = Printer({});
    ASSERT_EQ(Connect(), LinkOpenResult::Opened);
    printer.reset();  // unplugged
    if (GetParam().kind == kParallelLink)
        *fastClock = true;
    Download();
    EXPECT_EQ(op.Texts().back(), kCommunicationFailed);
    *fastClock = false;
    ExpectNothingChanged();
    ExpectRetrySucceeds();
}

INSTANTIATE_TEST_SUITE_P(Links, FaultTest,
                         ::testing::Values(LinkCase{"serial", kSerialLink},
                                           LinkCase{"usb", kUsbLink},
                                           LinkCase{"parallel", kParallelLink},
                                           LinkCase{"network", kNetworkLink}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace stampa
