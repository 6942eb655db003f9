#include "link/port.h"

#include <gtest/gtest.h>

#include <numeric>

#include "link/usb/usb_link.h"
#include "support/fake_transport.h"

namespace stampa {
namespace {

using test::ConnectFake;

// An in-process USB library: the twelve entry points over a record of calls.
struct FakeUsb {
    struct Call {
        int length;
        std::vector<unsigned char> staged;  // the bytes the library was handed
    };
    std::vector<Call> writes;
    std::vector<int> opened;
    int closes = 0;
    int shortAtCall = 0;  // 1-based uWrite call that returns one byte less
    std::vector<int> present = {1, 3};

    static FakeUsb& Get() {
        static FakeUsb instance;
        return instance;
    }
    static UsbLibrary Table() {
        UsbLibrary t;
        t.OpenDeviceX = [](int device) -> QzHandle {
            auto& f = Get();
            f.opened.push_back(device);
            const bool here =
                std::find(f.present.begin(), f.present.end(), device) != f.present.end();
            return here ? 100 + device : 0;
        };
        t.CloseDevice = [](QzHandle) { return ++Get().closes, 1; };
        t.uWrite = [](QzHandle, int, const void* bytes, int count) {
            auto& f = Get();
            const auto* b = static_cast<const unsigned char*>(bytes);
            f.writes.push_back({count, std::vector<unsigned char>(b, b + count)});
            return static_cast<int>(f.writes.size()) == f.shortAtCall ? count - 1 : count;
        };
        return t;
    }
};

class PortTest : public ::testing::Test {
  protected:
    LinkState linkState;
    void SetUp() override {
        FakeUsb::Get() = FakeUsb{};
        SetUsbLibrary(FakeUsb::Table());
    }
    void TearDown() override {
        PortClose(linkState.PortHandle);
        UnbindUsbLibrary();
    }
    static std::vector<unsigned char> Pattern(int n) {
        std::vector<unsigned char> v(static_cast<std::size_t>(n));
        for (int i = 0; i < n; ++i)
            v[i] = static_cast<unsigned char>(i * 7 + i / 256);
        return v;
    }
};

TEST_F(PortTest, NothingIsWrittenForNoHandleOrNoBytes) {
    auto fake = ConnectFake(linkState);
    const unsigned char lf = 0x0A;
    EXPECT_EQ(PortWrite(linkState.PortHandle, &lf, 0), 0);
    EXPECT_EQ(PortWrite(linkState.PortHandle, &lf, -1), 0);
    EXPECT_EQ(PortWrite(kNoHandle, &lf, 1), 0);
    EXPECT_EQ(PortWrite(999, &lf, 1), 0);  // no connection under that handle
    EXPECT_TRUE(fake->Writes().empty());
}

TEST_F(PortTest, AConnectionKeepsItsOwnKindWhateverPortKindSays) {
    auto fake = ConnectFake(linkState, kUsbLink);
    linkState.PortKind = kSerialLink;  // a click on another link button before OK
    const unsigned char lf = 0x0A;
    EXPECT_NE(PortWrite(linkState.PortHandle, &lf, 1), 0);
    linkState.PortKind = kDriverLink;
    EXPECT_EQ(PortClose(linkState.PortHandle), 1);
    EXPECT_EQ(fake->CloseCalls(), 1);
    EXPECT_EQ(PortWrite(linkState.PortHandle, &lf, 1), 0) << "released: the handle names nothing";
    EXPECT_EQ(PortClose(linkState.PortHandle), 1);
    EXPECT_EQ(fake->CloseCalls(), 1);
}

TEST_F(PortTest, CloseOfNoHandleReleasesNothing) {
    for (PortKindValue kind : {kSerialLink, kDriverLink, kUsbLink, kNoLink})
        EXPECT_EQ(PortClose(kNoHandle, kind), 1);
    EXPECT_EQ(FakeUsb::Get().closes, 0);
}

TEST_F(PortTest, UsbWritesBelow64KiBGoInOneCall) {
    linkState.PortHandle = UsbOpen(1);
    ASSERT_NE(linkState.PortHandle, kNoHandle);
    const auto data = Pattern(65535);
    EXPECT_EQ(PortWrite(linkState.PortHandle, data.data(), 65535), 1);
    ASSERT_EQ(FakeUsb::Get().writes.size(), 1u);
    EXPECT_EQ(FakeUsb::Get().writes[0].staged, data);
}

TEST_F(PortTest, UsbWritesOf64KiBAndMoreGoIn1024BytePieces) {
    for (int length : {65536, 70000}) {
        SCOPED_TRACE(length);
        FakeUsb::Get().writes.clear();
        linkState.PortHandle = UsbOpen(3);
        const auto data = Pattern(length);
        EXPECT_EQ(PortWrite(linkState.PortHandle, data.data(), length), 1);
        const auto& writes = FakeUsb::Get().writes;
        const std::size_t whole = static_cast<std::size_t>(length / 1024);
        ASSERT_EQ(writes.size(), whole + (length % 1024 != 0 ? 1 : 0));
        std::vector<unsigned char> joined;
        for (std::size_t i = 0; i < writes.size(); ++i) {
            EXPECT_EQ(writes[i].length, i < whole ? 1024 : length % 1024);
            joined.insert(joined.end(), writes[i].staged.begin(), writes[i].staged.end());
        }
        EXPECT_EQ(joined, data);
        PortClose(linkState.PortHandle);
    }
    EXPECT_EQ(FakeUsb::Get().writes.back().length, 70000 - 68 * 1024);
}

TEST_F(PortTest, ShortUsbPieceClosesTheDeviceAndStopsTheWrite) {
    linkState.PortHandle = UsbOpen(1);
    FakeUsb::Get().shortAtCall = 3;
    const auto data = Pattern(70000);
    EXPECT_EQ(PortWrite(linkState.PortHandle, data.data(), 70000), 0);
    EXPECT_EQ(FakeUsb::Get().writes.size(), 3u) << "later pieces are not sent";
    EXPECT_EQ(FakeUsb::Get().closes, 1);
    EXPECT_EQ(PortWrite(linkState.PortHandle, data.data(), 1), 0) << "the link counts as closed";
    EXPECT_EQ(PortClose(linkState.PortHandle), 1);
    EXPECT_EQ(FakeUsb::Get().closes, 1) << "a closed device is not closed twice";
}

TEST_F(PortTest, UsbOpenOfAnAbsentDeviceGivesNoHandle) {
    EXPECT_EQ(UsbOpen(0), kNoHandle);
    EXPECT_EQ(FakeUsb::Get().closes, 0);
    EXPECT_EQ(UsbProbeDevices(), (std::vector<int>{1, 3}));
    EXPECT_EQ(FakeUsb::Get().closes, 2) << "each present device is closed again at once";
    UnbindUsbLibrary();
    EXPECT_EQ(UsbOpen(1), kNoHandle);
    EXPECT_TRUE(UsbProbeDevices().empty());
}

}  // namespace
}  // namespace stampa
