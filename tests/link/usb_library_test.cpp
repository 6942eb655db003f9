// The real libQzUsbInt.so, bound by name as the program binds it, over a
// folder of FIFOs standing in for /dev/usb/lp0..lp7.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "link/port.h"
#include "link/senders.h"
#include "link/usb/usb_link.h"
#include "protocol/commands.h"
#include "support/fifo_reader.h"
#include "support/temp_dir.h"

namespace stampa {
namespace {

using test::FifoReader;
using test::TempDir;

class UsbLibraryTest : public ::testing::Test {
  protected:
    LinkState linkState;
    void SetUp() override {
        setenv("QZUSB_DEVICE_DIR", dir.Path().c_str(), 1);
        ASSERT_TRUE(BindUsbLibrary()) << "libQzUsbInt.so beside the test program";
    }
    void TearDown() override {
        PortClose(linkState.PortHandle);
        UnbindUsbLibrary();
        unsetenv("QZUSB_DEVICE_DIR");
    }
    TempDir dir;
};

TEST_F(UsbLibraryTest, ProbingFindsTheDevicesThatHaveAReader) {
    FifoReader lp1(dir.File("lp1"));
    FifoReader lp3(dir.File("lp3"));
    mkfifo(dir.File("lp5").c_str(), 0600);  // a device file with nobody behind it
    EXPECT_EQ(UsbProbeDevices(), (std::vector<int>{1, 3}));
    EXPECT_EQ(UsbOpen(5), kNoHandle);
    EXPECT_EQ(UsbOpen(0), kNoHandle);
}

TEST_F(UsbLibraryTest, LargeWritesArriveIntactAndInOrder) {
    FifoReader lp1(dir.File("lp1"));
    linkState.PortHandle = UsbOpen(1);
    ASSERT_NE(linkState.PortHandle, kNoHandle);
    ASSERT_NE(SendLineFeed(linkState.PortHandle), 0);
    std::vector<unsigned char> data(70000);
    for (std::size_t i = 0; i < data.size(); ++i)
        data[i] = static_cast<unsigned char>(i * 31 + i / 977);
    EXPECT_EQ(PortWrite(linkState.PortHandle, data.data(), static_cast<int>(data.size())), 1);
    std::vector<unsigned char> want = {0x0A};
    want.insert(want.end(), data.begin(), data.end());
    EXPECT_EQ(lp1.WaitFor(want.size()), want);
}

TEST_F(UsbLibraryTest, WriteAfterTheReaderWentAwayFailsAndClosesTheDevice) {
    auto lp3 = std::make_unique<FifoReader>(dir.File("lp3"));
    linkState.PortHandle = UsbOpen(3);
    ASSERT_NE(linkState.PortHandle, kNoHandle);
    ASSERT_NE(SendLineFeed(linkState.PortHandle), 0);
    lp3->GoAway();
    const std::vector<unsigned char> data(5000, 0x55);
    EXPECT_EQ(PortWrite(linkState.PortHandle, data.data(), 5000),
              0);  // and SIGPIPE did not end the test
    EXPECT_TRUE(FindConnection(linkState.PortHandle)->Closed());
    EXPECT_EQ(SendLineFeed(linkState.PortHandle), 0);
}

TEST(UsbLibraryBinding, EveryOneOfTheTwelveNamesIsRequired) {
    EXPECT_FALSE(BindUsbLibrary(QZUSB_WITHOUT_SETINTERFACE_LIBRARY));
    EXPECT_FALSE(UsbLibraryBound());
    EXPECT_FALSE(BindUsbLibrary("libNoSuchLibrary.so"));
    EXPECT_TRUE(BindUsbLibrary());
    EXPECT_TRUE(UsbLibraryBound());
    UnbindUsbLibrary();
}

TEST(LibraryLoader, SearchesTheProgramFolderThenTheWorkingDirectory) {
    auto own = LoadedLibrary::Load("libQzUsbInt.so");
    ASSERT_TRUE(own);
    EXPECT_EQ(std::filesystem::path(own->Path()).parent_path(), ProgramDirectory());

    TempDir dir;
    std::filesystem::copy_file(QZUSB_WITHOUT_SETINTERFACE_LIBRARY, dir.File("libOnlyHere.so"));
    const auto saved = std::filesystem::current_path();
    std::filesystem::current_path(dir.Path());
    auto fromCwd = LoadedLibrary::Load("libOnlyHere.so");
    std::filesystem::current_path(saved);
    ASSERT_TRUE(fromCwd);
    EXPECT_EQ(fromCwd->Path(), dir.File("libOnlyHere.so"));
    EXPECT_NE(fromCwd->Symbol("OpenDeviceX"), nullptr);
    EXPECT_EQ(fromCwd->Symbol("SetInterface"), nullptr);
}

}  // namespace
}  // namespace stampa
