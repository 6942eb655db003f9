// The serial link over a pseudo-terminal with the virtual printer at its other end.
#include "link/serial/serial_link.h"

#include <gtest/gtest.h>
#include <sys/ioctl.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "link/port.h"
#include "protocol/commands.h"
#include "support/temp_dir.h"
#include "support/test_helpers.h"
#include "support/vprinter_process.h"

namespace stampa {
namespace {

using test::TempDir;
using test::VirtualPrinterProcess;

class SerialLinkTest : public ::testing::Test {
  protected:
    LinkState linkState;
    SerialTimings fast;
    void SetUp() override {
        std::filesystem::create_directories(dir.File("config/stampa/ports"));
        setenv("XDG_CONFIG_HOME", dir.File("config").c_str(), 1);
        // Short waits for the failure cases; the program keeps its own.
        fast.statusWait = std::chrono::milliseconds(300);
        fast.afterTest = {0xFFFFFFFF, 0, 100, 100};
    }
    void TearDown() override {
        PortClose(linkState.PortHandle);
        unsetenv("XDG_CONFIG_HOME");
    }
    std::unique_ptr<VirtualPrinterProcess> StartPrinter(std::vector<std::string> extra = {}) {
        std::vector<std::string> args = {"--serial",      com1,        "--out",
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
    std::string com1 = dir.File("config/stampa/ports/com1");
};

TEST_F(SerialLinkTest, ComNamesResolveThroughThePortsFolder) {
    EXPECT_EQ(SerialDevicePath("COM3"), "/dev/ttyS2");
    std::filesystem::create_symlink("/dev/ttyUSB0", dir.File("config/stampa/ports/com3"));
    EXPECT_EQ(SerialDevicePath("COM3"), dir.File("config/stampa/ports/com3"));
    EXPECT_EQ(SerialDevicePath("com3"), dir.File("config/stampa/ports/com3"));
    EXPECT_EQ(SerialPortMap()[2].second, dir.File("config/stampa/ports/com3") + " -> /dev/ttyUSB0");
    EXPECT_EQ(SerialPortMap().size(), 8u);
}

TEST_F(SerialLinkTest, OpensWhenThePrinterAnswersAndLeavesTheAnswerUnread) {
    auto printer = StartPrinter();
    linkState.PortHandle = SerialOpen("COM1", 9600, 8, 0, 0, 2, fast);
    ASSERT_NE(linkState.PortHandle, kNoHandle);
    int queued = 0;
    ASSERT_EQ(ioctl(static_cast<int>(linkState.PortHandle), FIONREAD, &queued), 0);
    EXPECT_EQ(queued, 1) << "the status byte stays in the input queue";
    const std::vector<unsigned char> want = {0x1D, 0x72, 0x01, 0x0A};
    EXPECT_EQ(Captured(want.size()), want) << "GS r 1, then LF; no ESC @";
}

TEST_F(SerialLinkTest, FailsAndClosesWhenThePrinterNeverAnswers) {
    auto printer = StartPrinter({"--no-status"});
    const int before = test::OpenDescriptors();
    EXPECT_EQ(SerialOpen("COM1", 9600, 8, 0, 0, 2, fast), kNoHandle);
    EXPECT_EQ(test::OpenDescriptors(), before) << "the port is closed again";
    EXPECT_EQ(SerialOpen("COM9", 9600, 8, 0, 0, 2, fast), kNoHandle) << "no such port";
}

TEST_F(SerialLinkTest, APortHeldElsewhereCannotBeOpened) {
    auto printer = StartPrinter();
    linkState.PortHandle = SerialOpen("COM1", 19200, 8, 2, 2, 1, fast);
    ASSERT_NE(linkState.PortHandle, kNoHandle);
    EXPECT_EQ(SerialOpen("COM1", 19200, 8, 2, 2, 1, fast), kNoHandle);
}

TEST_F(SerialLinkTest, ADownloadSizedWriteArrivesIntact) {
    auto printer = StartPrinter();
    linkState.PortHandle = SerialOpen("COM1", 57600, 8, 0, 0, 0);  // the program's own time-outs
    ASSERT_NE(linkState.PortHandle, kNoHandle);
    std::vector<unsigned char> data(127000);
    for (std::size_t i = 0; i < data.size(); ++i)
        data[i] = static_cast<unsigned char>(i * 13 + i / 251);
    ASSERT_EQ(PortWrite(linkState.PortHandle, data.data(), static_cast<int>(data.size())), 1);
    std::vector<unsigned char> want = {0x1D, 0x72, 0x01, 0x0A};
    want.insert(want.end(), data.begin(), data.end());
    EXPECT_EQ(Captured(want.size()), want);
}

TEST_F(SerialLinkTest, AStalledPrinterFailsTheWriteAtTheFirstByteThatCannotGo) {
    auto printer = StartPrinter({"--stall-after", "100"});
    linkState.PortHandle = SerialOpen("COM1", 9600, 8, 0, 0, 2, fast);
    ASSERT_NE(linkState.PortHandle, kNoHandle);
    const std::vector<unsigned char> data(200000, 0x41);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(PortWrite(linkState.PortHandle, data.data(), static_cast<int>(data.size())), 0);
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_LT(std::chrono::duration_cast<std::chrono::milliseconds>(took).count(), 3000)
        << "one byte's time-out, not one per byte";
}

}  // namespace
}  // namespace stampa
