// The network link on loopback: the same bytes as USB for a whole session,
// and no hanging on a printer that refuses or never accepts.
#include "link/network/network_link.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>

#include "link/link_error.h"
#include "link/link_open.h"
#include "link/port.h"
#include "link/usb/usb_library.h"
#include "logos/logo_store.h"
#include "support/bmp_files.h"
#include "support/job_pages.h"
#include "support/logo_files.h"
#include "support/recording_operator.h"
#include "support/temp_dir.h"
#include "support/vprinter_process.h"
#include "transfer/download_job.h"
#include "transfer/print_job.h"
#include "transfer/session.h"
#include "workflows/startup.h"

namespace stampa {
namespace {

using Clock = std::chrono::steady_clock;
using test::TempDir;
using test::VirtualPrinterProcess;

// A loopback listener of our own that never accepts; its queue is full.
struct DeafListener {
    DeafListener() {
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a);
        ::listen(fd, 0);
        socklen_t size = sizeof a;
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &size);
        port = ntohs(a.sin_port);
        ::connect(filler, reinterpret_cast<sockaddr*>(&a), sizeof a);  // takes the one place
    }
    ~DeafListener() {
        ::close(filler);
        ::close(fd);
    }
    int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    int filler = ::socket(AF_INET, SOCK_STREAM, 0);
    int port = 0;
};

class NetworkLinkTest : public ::testing::Test {
  protected:
    Session session;
    void SetUp() override {
        setenv("QZUSB_DEVICE_DIR", dir.Path().c_str(), 1);
        ASSERT_TRUE(BindRuntimeLibraries({PIXMELT_LIBRARY}));
        session.SetPauses({std::chrono::milliseconds(0), std::chrono::milliseconds(0)});
    }
    void TearDown() override {
        PortClose(session.PortHandle);
        UnbindRuntimeLibraries();
        unsetenv("QZUSB_DEVICE_DIR");
    }

    // Connects, downloads the picked logos to FLASH, prints them under labels,
    // and returns every byte the printer received.
    std::vector<unsigned char> Exchange(PortKindValue kind) {
        const std::string name = kind == kUsbLink ? "usb" : "tcp";
        const std::string capture = dir.File(name + ".bin");
        auto printer = std::make_unique<VirtualPrinterProcess>(
            std::vector<std::string>{kind == kUsbLink ? "--usb" : "--tcp",
                                     kind == kUsbLink ? dir.File("lp0") : "127.0.0.1:0", "--out",
                                     dir.File(name), "--capture", capture});
        EXPECT_TRUE(printer->Ready()) << printer->Output();
        LinkSettings s;
        s.kind = kind;
        s.networkHost = "127.0.0.1";
        if (const auto at = printer->Output().find("tcp: 127.0.0.1:"); at != std::string::npos)
            s.networkPort = std::atoi(printer->Output().c_str() + at + 15);
        const LinkOpenOutcome outcome = OpenAndTestLink(s, session.PrintDocInfo);
        EXPECT_EQ(outcome.result, LinkOpenResult::Opened);
        session.PortHandle = outcome.handle;
        session.PortConfigured = true;
        test::RecordingDownloadPage page(kFlashMemory);
        StartDownload(session, page);
        EXPECT_TRUE(WaitForDownload(session, std::chrono::seconds(30)));
        EXPECT_TRUE(session.FlashDownloaded);
        test::FakePrintPage print;
        print.label = true;
        PrintLogos(session, print);
        PortClose(session.PortHandle);
        session.PortHandle = kNoHandle;
        // The print ends with FF, which ends the receipt: then the capture is whole.
        EXPECT_TRUE(VirtualPrinterProcess::WaitForFile(dir.File(name + "/receipt-0001.txt")));
        printer.reset();
        return test::ReadFileBytes(capture);
    }

    TempDir dir;
    test::RecordingOperator op;
};

TEST_F(NetworkLinkTest, ASessionSendsTheSameBytesAsUsb) {
    test::WriteAndPick(session, dir, "a.bmp",
                       test::Bmp1(40, 20, [](int x, int y) { return x == y; }));
    test::WriteAndPick(session, dir, "b.bmp",
                       test::Bmp1(100, 30, [](int x, int) { return x % 3 == 0; }));
    const auto usb = Exchange(kUsbLink);
    const auto network = Exchange(kNetworkLink);
    ASSERT_GT(usb.size(), 3u);
    EXPECT_EQ(std::vector<unsigned char>(usb.begin(), usb.begin() + 3),
              (std::vector<unsigned char>{0x0A, 0x1B, 0x40}))
        << "the link test, then ESC @";
    EXPECT_EQ(network, usb);
    EXPECT_EQ(op.Texts(), std::vector<std::string>(2, "下载所选位图到FLASH.\n继续吗?"))
        << "the download's question, and no failure";
}

TEST_F(NetworkLinkTest, RefusedOrSilentPrintersFailWithinTheConnectTimeOut) {
    const NetworkTimings quick{std::chrono::milliseconds(400), std::chrono::milliseconds(300)};
    int refusedPort = 0;
    {
        DeafListener closedSoon;  // a port that was just free: nobody listens there now
        refusedPort = closedSoon.port;
    }
    auto start = Clock::now();
    LinkError why;
    EXPECT_EQ(NetworkOpen("127.0.0.1", refusedPort, quick, &why), kNoHandle);
    EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(400)) << "refused at once";
    EXPECT_EQ(why.osError, ECONNREFUSED);

    DeafListener deaf;
    start = Clock::now();
    EXPECT_EQ(NetworkOpen("127.0.0.1", deaf.port, quick, &why), kNoHandle);
    EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(350));
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(3));
    EXPECT_EQ(why.osError, ETIMEDOUT);

    EXPECT_EQ(NetworkOpen("", 9100), kNoHandle) << "no host, no lookup";
    EXPECT_EQ(NetworkPortName("::1", 9100), "[::1]:9100");
}

}  // namespace
}  // namespace stampa
