// Download and print end to end: the real USB library, loaded by name, and the
// virtual printer as a process on the other end of a FIFO device.
#include <gtest/gtest.h>

#include <QImage>
#include <cstdlib>

#include "common/messages.h"
#include "link/link_state.h"
#include "link/port.h"
#include "link/senders.h"
#include "link/usb/usb_link.h"
#include "logos/logo_store.h"
#include "protocol/commands.h"
#include "support/bmp_files.h"
#include "support/job_pages.h"
#include "support/logo_files.h"
#include "support/recording_operator.h"
#include "support/vprinter_process.h"
#include "transfer/download_job.h"
#include "transfer/print_job.h"
#include "transfer/session.h"
#include "workflows/startup.h"

namespace stampa {
namespace {

using test::Bmp1;
using test::Bmp24;
using test::RecordingOperator;
using test::Rgb;
using test::TempDir;
using test::VirtualPrinterProcess;
using test::WriteAndPick;

constexpr int kMargin = 16;      // paper above the first line
constexpr int kLineHeight = 30;  // one line feed

class TransferEndToEnd : public ::testing::Test {
  protected:
    Session session;
    void SetUp() override {
        session.SetPauses({std::chrono::milliseconds(0), std::chrono::milliseconds(0)});
        setenv("QZUSB_DEVICE_DIR", dir.Path().c_str(), 1);
        ASSERT_TRUE(BindRuntimeLibraries({PIXMELT_LIBRARY}));
    }
    void TearDown() override {
        WaitForDownload(session);
        PortClose(session.PortHandle);
        UnbindRuntimeLibraries();
        unsetenv("QZUSB_DEVICE_DIR");
    }

    std::unique_ptr<VirtualPrinterProcess> StartPrinter(std::vector<std::string> extra = {}) {
        std::vector<std::string> args = {"--usb", dir.File("lp0"), "--out",
                                         out,     "--state",       dir.File("flash")};
        args.insert(args.end(), extra.begin(), extra.end());
        auto printer = std::make_unique<VirtualPrinterProcess>(args);
        EXPECT_TRUE(printer->Ready()) << printer->Output();
        return printer;
    }

    // What the configuration page's OK does on a USB link.
    void Connect() {
        session.PortHandle = UsbOpen(0);
        ASSERT_NE(session.PortHandle, kNoHandle);
        ASSERT_NE(SendLineFeed(session.PortHandle), 0);
        SendInitialize(session.PortHandle);
        session.PortConfigured = true;
    }

    void Download(Memory memory) {
        test::RecordingDownloadPage page(memory);
        StartDownload(session, page);
        ASSERT_TRUE(WaitForDownload(session, std::chrono::seconds(30)));
    }

    // Checks that the receipt shows each logo's dark pixels exactly, logos one
    // under the other from `top`, each followed by a line feed.
    void ExpectLogosOnReceipt(const QImage& receipt, int top) {
        int y0 = top;
        for (const LogoEntry& e : session.SelectedLogos.Entries()) {
            SCOPED_TRACE(e.name);
            const QImage picture(QString::fromStdString(e.convertedPath));
            ASSERT_FALSE(picture.isNull()) << e.convertedPath;
            const int bandsHeight = (picture.height() + 7) / 8 * 8;
            const int blankTop = bandsHeight - picture.height();
            int mismatches = 0;
            for (int y = 0; y < picture.height(); ++y) {
                for (int x = 0; x < picture.width(); ++x) {
                    const bool dark = qGray(picture.pixel(x, y)) < 128;
                    const bool printed = qGray(receipt.pixel(x, y0 + blankTop + y)) < 128;
                    mismatches += dark != printed;
                }
            }
            EXPECT_EQ(mismatches, 0);
            y0 += bandsHeight + kLineHeight;
        }
    }

    TempDir dir;
    std::string out = dir.File("receipts");
    RecordingOperator op;
};

Rgb Photo(int x, int y) {
    return Rgb{static_cast<unsigned char>(x * 4), static_cast<unsigned char>(y * 5),
               static_cast<unsigned char>(255 - x * 2)};
}

TEST_F(TransferEndToEnd, FlashDownloadThenPrintShowsTheConvertedPictures) {
    auto printer = StartPrinter();
    WriteAndPick(session, dir, "ring.bmp", Bmp1(37, 21, [](int x, int y) {
                     return (x - 18) * (x - 18) + (y - 10) * (y - 10) < 90;
                 }));
    WriteAndPick(session, dir, "photo.bmp", Bmp24(50, 30, Photo));
    WriteAndPick(session, dir, "f.bmp",
                 Bmp1(13, -9, [](int x, int y) { return x == 1 || y == 0 || (y == 4 && x < 8); }));
    Connect();
    Download(kFlashMemory);
    ASSERT_EQ(op.Texts(), std::vector<std::string>{msg::kAskDownloadFlash});
    ASSERT_TRUE(session.FlashDownloaded);
    EXPECT_EQ(session.SelectedLogos.GetConvertedPath(1), dir.File("photoTemp.bmp"));

    test::FakePrintPage page;
    PrintLogos(session, page);
    ASSERT_EQ(op.Texts().size(), 1u) << op.Texts().back();
    ASSERT_TRUE(VirtualPrinterProcess::WaitForFile(out + "/receipt-0001.png"));
    const QImage receipt(QString::fromStdString(out + "/receipt-0001.png"));
    ASSERT_FALSE(receipt.isNull());
    ExpectLogosOnReceipt(receipt, kMargin + kLineHeight);  // after the connection's LF
}

TEST_F(TransferEndToEnd, RamDownloadThenPrintShowsThePictures) {
    auto printer = StartPrinter();
    WriteAndPick(session, dir, "a.bmp", Bmp1(20, 16, [](int x, int y) { return x == y; }));
    WriteAndPick(session, dir, "b.bmp", Bmp24(24, 12, Photo));
    Connect();
    Download(kRamMemory);
    ASSERT_TRUE(session.RamDownloaded);
    test::FakePrintPage page;
    page.memory = kRamMemory;
    PrintLogos(session, page);
    ASSERT_TRUE(VirtualPrinterProcess::WaitForFile(out + "/receipt-0001.png"));
    const QImage receipt(QString::fromStdString(out + "/receipt-0001.png"));
    // A RAM logo is followed by the LF that ends GS / and the print job's LF.
    int y0 = kMargin + kLineHeight;
    for (const LogoEntry& e : session.SelectedLogos.Entries()) {
        const QImage picture(QString::fromStdString(e.convertedPath));
        const int bandsHeight = (picture.height() + 7) / 8 * 8;
        int mismatches = 0;
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x)
                mismatches +=
                    (qGray(picture.pixel(x, y)) < 128) !=
                    (qGray(receipt.pixel(x, y0 + bandsHeight - picture.height() + y)) < 128);
        EXPECT_EQ(mismatches, 0) << e.name;
        y0 += bandsHeight + 2 * kLineHeight;
    }
}

// NV graphics print at their own height, each under its label line and a blank
// line, followed by the print job's LF; checks every picked logo at scale sx.
void ExpectNvLogosUnderLabels(const LogoStore& session, const QImage& receipt, int top, int sx) {
    int y0 = top;
    for (const LogoEntry& e : session.SelectedLogos.Entries()) {
        SCOPED_TRACE(e.name);
        const QImage picture(QString::fromStdString(e.convertedPath));
        ASSERT_FALSE(picture.isNull()) << e.convertedPath;
        int labelDots = 0;
        for (int y = y0; y < y0 + kLineHeight; ++y)
            for (int x = 0; x < receipt.width(); ++x)
                labelDots += qGray(receipt.pixel(x, y)) < 128;
        EXPECT_GT(labelDots, 100) << "the label line";
        y0 += 2 * kLineHeight;
        int mismatches = 0;
        for (int y = 0; y < picture.height(); ++y) {
            for (int x = 0; x < picture.width() * sx; ++x) {
                mismatches += (qGray(picture.pixel(x / sx, y)) < 128) !=
                              (qGray(receipt.pixel(x, y0 + y)) < 128);
            }
        }
        EXPECT_EQ(mismatches, 0);
        y0 += picture.height() + kLineHeight;
    }
}

TEST_F(TransferEndToEnd, NvDownloadThenPrintShowsEachLogoUnderItsLabel) {
    auto printer = StartPrinter({"--paper-width", "1280"});
    WriteAndPick(session, dir, "photo.bmp", Bmp24(50, 30, Photo));
    WriteAndPick(session, dir, "f.bmp",
                 Bmp1(13, -9, [](int x, int y) { return x == 1 || y == 0 || (y == 4 && x < 8); }));
    WriteAndPick(session, dir, "ring.bmp", Bmp1(37, 21, [](int x, int y) {
                     return (x - 18) * (x - 18) + (y - 10) * (y - 10) < 90;
                 }));
    Connect();
    Download(kNvMemory);
    ASSERT_EQ(op.Texts(),
              std::vector<std::string>{"下载所选位图到NV图形（写入NV 3 次）。\n继续吗？"});
    ASSERT_TRUE(session.NvDownloaded);
    test::FakePrintPage page;
    page.memory = kNvMemory;
    page.scaling = kDoubleWidth;
    page.label = true;
    PrintLogos(session, page);
    ASSERT_EQ(op.Texts().size(), 1u) << op.Texts().back();
    ASSERT_TRUE(VirtualPrinterProcess::WaitForFile(out + "/receipt-0001.png"));
    ExpectNvLogosUnderLabels(session, QImage(QString::fromStdString(out + "/receipt-0001.png")),
                             kMargin + kLineHeight, 2);

    // 600 x 900 takes the long form of the definition and prints whole.
    session.SelectedLogos.RemoveAll();
    session.SelectedCount = 0;
    session.SelectedBytes = 0;
    WriteAndPick(session, dir, "big.bmp",
                 Bmp1(600, 900, [](int x, int y) { return (x / 7 + y / 5) % 3 == 0; }));
    Download(kNvMemory);
    ASSERT_TRUE(session.NvDownloaded);
    page.scaling = kNormalSize;
    PrintLogos(session, page);
    ASSERT_TRUE(VirtualPrinterProcess::WaitForFile(out + "/receipt-0002.png"));
    ExpectNvLogosUnderLabels(session, QImage(QString::fromStdString(out + "/receipt-0002.png")),
                             kMargin, 1);
    const auto bytes = test::ReadFileBytes(out + "/receipt-0002.txt");
    const std::string log(bytes.begin(), bytes.end());
    EXPECT_NE(log.find("NV DEFINE 01 600x900"), std::string::npos) << log;
}

TEST_F(TransferEndToEnd, PrinterDroppingMidDownloadLeavesTheListAsItWas) {
    // More than a pipe's 64 KiB beyond the drop, so the writer meets the closed device.
    auto printer = StartPrinter({"--drop-after", "3000"});
    for (int i = 0; i < 3; ++i) {
        WriteAndPick(session, dir, "big" + std::to_string(i) + ".bmp",
                     Bmp1(1600, 200, [](int x, int) { return x % 3 == 0; }));
    }
    session.FlashLogos.Append(0, "earlier.bmp", "/earlier.bmp", "/earlier.bmp", 32, 8, 8, 0);
    Connect();
    Download(kFlashMemory);
    EXPECT_EQ(op.Texts().back(), msg::kCommunicationFailed);
    EXPECT_EQ(session.FlashLogos.Count(), 1);
    EXPECT_EQ(session.FlashLogos.GetName(0), "earlier.bmp");
    EXPECT_FALSE(session.FlashDownloaded);
    EXPECT_TRUE(session.DownloadIdle);
}

}  // namespace
}  // namespace stampa
