// The download and print pages, and the whole path a user takes through the
// program: connect, pick, convert, download, print, exit, start again.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTreeWidget>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/main_sheet.h"
#include "app/stampa_app.h"
#include "link/link_state.h"
#include "link/port.h"
#include "logos/logo_store.h"
#include "logos/nv_list.h"
#include "pages/config_page.h"
#include "pages/download_page.h"
#include "pages/file_dialog.h"
#include "pages/preview_page.h"
#include "pages/print_page.h"
#include "pages/select_page.h"
#include "support/bmp_files.h"
#include "support/fake_transport.h"
#include "support/page_helpers.h"
#include "support/recording_operator.h"
#include "support/temp_dir.h"
#include "support/vprinter_process.h"
#include "transfer/download_job.h"
#include "transfer/session.h"
#include "workflows/startup.h"

namespace stampa {
namespace {

using test::Find;
using test::RecordingOperator;
using test::TempDir;

QStringList Column(QTreeWidget* list, int column) {
    QStringList values;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        values << list->topLevelItem(i)->text(column);
    return values;
}

class PageListsTest : public ::testing::Test {
  protected:
    Session session;
    void Pick(std::initializer_list<std::uint32_t> sizes) {
        int i = 0;
        for (std::uint32_t size : sizes) {
            session.SelectedLogos.Append(i, "l" + std::to_string(i) + ".bmp", "/p", "/p", size, 8,
                                         8, 0);
            ++i;
        }
        session.LogosPicked = true;
    }
    RecordingOperator op;
};

TEST_F(PageListsTest, DownloadPageNumbersByMemoryAndSumsInKiloBytes) {
    CDownloadPage page{session};
    page.OnShow();
    EXPECT_EQ(page.CountText(), "0 / 255");
    EXPECT_EQ(page.SizeText(), "0 / 128 K Bytes");
    page.OnMemory(kRamMemory);
    EXPECT_EQ(page.CountText(), "0 / 8");
    Pick({1000, 1499, 1});
    page.OnMemory(kFlashMemory);
    EXPECT_EQ(Column(page.List(), 0), (QStringList{"1", "2", "3"}));
    EXPECT_EQ(page.SizeText(), "3 / 128 K Bytes");
    Find<QRadioButton>(&page, 1044)->click();  // RAM renumbers at once
    EXPECT_EQ(Column(page.List(), 0), (QStringList{"0", "1", "2"}));
    EXPECT_EQ(page.SizeText(), "3 / 12 K Bytes");
    EXPECT_EQ(page.CountText(), "3 / 8");
    EXPECT_EQ(page.Memory(), kRamMemory);
    Find<QRadioButton>(&page, 1046)->click();  // NV graphics: numbered by key from 1
    EXPECT_EQ(Column(page.List(), 0), (QStringList{"1", "2", "3"}));
    EXPECT_EQ(page.SizeText(), "3 K Bytes");
    EXPECT_EQ(page.CountText(), "3 / 99");
    page.resize(800, 600);
    page.show();
    EXPECT_EQ(page.List()->header()->sectionSize(2), 50) << "大小 is not stretched";
    EXPECT_EQ(page.List()->header()->length(), page.List()->viewport()->width())
        << "the header spans the list";
}

TEST_F(PageListsTest, DownloadTimeEstimateForASerialLink) {
    // 576 x 200 to FLASH: 14407 bytes of 10 bits, and each one-byte write.
    session.SelectedLogos.Append(0, "wide.bmp", "/w", "/w", 14400, 576, 200, 0);
    session.SelectedCount = 1;
    session.LogosPicked = true;
    session.PortKind = kSerialLink;
    const std::pair<int, const char*> cases[] = {{9600, "预计 15 秒"}, {57600, "预计 3 秒"}};
    CDownloadPage page{session};
    for (const auto& [baud, text] : cases) {
        session.PortBaudRate = baud;
        page.OnShow();
        EXPECT_EQ(page.EstimateText(), text) << baud;
    }
    // The open link is serial: the estimate reads the link itself, whatever
    // kind the session last tried.
    auto serial = test::ConnectFake(session, kSerialLink);
    session.PortKind = kUsbLink;
    page.OnShow();
    EXPECT_EQ(page.EstimateText(), "预计 3 秒");
    PortClose(session.PortHandle);
}

TEST_F(PageListsTest, PrintPageDefaultsAndChoices) {
    CPrintPage page{session};
    page.OnShow();
    EXPECT_TRUE(Find<QRadioButton>(&page, 1032)->isChecked()) << "全部";
    EXPECT_TRUE(Find<QRadioButton>(&page, 1048)->isChecked()) << "Flash";
    EXPECT_TRUE(Find<QRadioButton>(&page, 1053)->isChecked()) << "原始大小";
    EXPECT_FALSE(Find<QCheckBox>(&page, 1064)->isChecked());
    // The size group in tab order 1053, 1055, 1054, 1056 gives 0, 1, 2, 3.
    const int order[] = {1053, 1055, 1054, 1056};
    for (int mode = 0; mode < 4; ++mode) {
        Find<QRadioButton>(&page, order[mode])->click();
        EXPECT_EQ(page.ScalingMode(), mode);
    }
    session.StoredFlashLogos.Append(0, "s.bmp", "/s", "", 32, 8, 8, 0);
    page.RefreshFlashList();
    EXPECT_EQ(Column(page.List(), 0), QStringList{"1"});
    emit page.List()->itemClicked(page.List()->topLevelItem(0), 0);
    EXPECT_EQ(page.Range(), kPrintPart);
    EXPECT_TRUE(Find<QRadioButton>(&page, 1029)->isChecked()) << "a click switches to 部分";
    // RAM logos kept from before a new connection are not listed.
    session.RamLogos.Append(0, "r.bmp", "/r", "/r", 32, 8, 8, 0);
    Find<QRadioButton>(&page, 1047)->click();
    EXPECT_EQ(page.List()->topLevelItemCount(), 0);
    EXPECT_EQ(page.CountText(), "0 / 8");
    session.RamDownloaded = true;
    page.RefreshRamList();
    EXPECT_EQ(Column(page.List(), 0), QStringList{"0"});
    EXPECT_EQ(page.Range(), kPrintPart) << "choices last";
}

TEST_F(PageListsTest, RamBeforeAnyRamDownloadIsRefused) {
    CPrintPage page{session};
    session.PortConfigured = true;
    Find<QRadioButton>(&page, 1047)->click();
    page.OnPrint();
    EXPECT_EQ(op.Texts(), std::vector<std::string>{"请先将位图下载到RAM!"});
}

std::string ReadText(const std::string& path) {
    std::ifstream in(path);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// Dark pixels of a picture, each shown twice as wide on the receipt from `top`.
int MismatchesDoubleWidth(const QImage& receipt, const QImage& picture, int top) {
    int mismatches = 0;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            const bool dark = qGray(picture.pixel(x, y)) < 128;
            for (int dx = 0; dx < 2; ++dx)
                mismatches += dark != (qGray(receipt.pixel(2 * x + dx, top + y)) < 128);
        }
    }
    return mismatches;
}

// A run of the program in a fresh folder with a USB printer 0 attached.
class WholePath : public ::testing::Test {
  protected:
    void SetUp() override {
        std::filesystem::current_path(dir.Path());
        setenv("QZUSB_DEVICE_DIR", dir.Path().c_str(), 1);
        StartPrinter({});
    }
    void StartPrinter(const std::vector<std::string>& extra) {
        printer.reset();
        std::vector<std::string> args = {"--usb", dir.File("lp0"), "--out", dir.File("out")};
        args.insert(args.end(), extra.begin(), extra.end());
        printer = std::make_unique<test::VirtualPrinterProcess>(args);
        ASSERT_TRUE(printer->Ready()) << printer->Output();
    }
    void TearDown() override {
        unsetenv("QZUSB_DEVICE_DIR");
        std::filesystem::current_path(saved);
    }
    // Starts the program and connects to the USB printer as the OK button does.
    static void StartAndConnect(CStampaApp& app) {
        app.CurrentSession().SetPauses(
            {std::chrono::milliseconds(0), std::chrono::milliseconds(20)});
        ASSERT_TRUE(app.Start());
        app.Sheet()->show();
        Find<QRadioButton>(app.Sheet()->ConfigPage(), 1014)->click();
        Find<QPushButton>(app.Sheet()->ConfigPage(), 1)->click();
        ASSERT_TRUE(app.CurrentSession().PortConfigured);
    }

    const std::filesystem::path saved = std::filesystem::current_path();
    TempDir dir;
    std::unique_ptr<test::VirtualPrinterProcess> printer;
    RecordingOperator op;
};

TEST_F(WholePath, ConnectPickConvertDownloadPrintExitAndStartAgain) {
    test::WriteFileBytes(dir.File("ring.bmp"), test::Bmp1(40, 24, [](int x, int y) {
                             return (x - 12) * (x - 12) + (y - 12) * (y - 12) < 100;
                         }));
    test::WriteFileBytes(dir.File("photo.bmp"), test::Bmp24(48, 20, [](int x, int y) {
                             return test::Rgb{static_cast<unsigned char>(x * 5),
                                              static_cast<unsigned char>(y * 12), 60};
                         }));
    test::ScriptedFileDialog files({dir.File("ring.bmp"), dir.File("photo.bmp")});

    CStampaApp app;
    StartAndConnect(app);  // configuration: USB device 0, OK
    CMainSheet& sheet = *app.Sheet();
    // Select both logos; convert the photo with error accumulation.
    sheet.SelectPage()->OnOpen();
    sheet.Tabs()->setCurrentIndex(2);
    CPreviewPage& preview = *sheet.PreviewPage();
    Find<QRadioButton>(&preview, 1072)->click();
    preview.OnListClick(preview.List()->topLevelItem(1));
    Find<QRadioButton>(&preview, 1076)->click();
    EXPECT_EQ(app.CurrentSession().SelectedLogos.GetMode(1), 3);
    // Download to FLASH.
    sheet.Tabs()->setCurrentIndex(3);
    CDownloadPage& download = *sheet.DownloadPage();
    int highest = 0;
    QObject::connect(download.Progress(), &QProgressBar::valueChanged,
                     [&](int v) { highest = std::max(highest, v); });
    EXPECT_EQ(sheet.ConnectionText(), "已连接: RP-820, QZUSB-0");
    EXPECT_EQ(sheet.StatusText(), "");
    Find<QPushButton>(&download, 1026)->click();
    ASSERT_TRUE(WaitForDownload(app.CurrentSession(), std::chrono::seconds(30)));
    QApplication::processEvents();
    EXPECT_TRUE(app.CurrentSession().FlashDownloaded);
    EXPECT_TRUE(sheet.StatusText().startsWith("已下载 2 个位图到 FLASH（"))
        << sheet.StatusText().toStdString();
    EXPECT_EQ(highest, download.Progress()->maximum()) << "the progress reached the end";
    EXPECT_EQ(download.Progress()->value(), 0);
    EXPECT_EQ(download.StatusText(), "下载进程");
    EXPECT_TRUE(Find<QPushButton>(&download, 1026)->isEnabled());
    // Print all at double width with labels.
    sheet.Tabs()->setCurrentIndex(4);
    CPrintPage& print = *sheet.PrintPage();
    Find<QRadioButton>(&print, 1055)->click();
    Find<QCheckBox>(&print, 1064)->click();
    Find<QPushButton>(&print, 1033)->click();
    EXPECT_EQ(op.Texts(), std::vector<std::string>{"下载所选位图到FLASH.\n继续吗?"});
    EXPECT_EQ(sheet.StatusText(), "已打印 2 个位图");
    EXPECT_EQ(sheet.ConnectionText(), "已连接: RP-820, QZUSB-0") << "kept at the left";

    ASSERT_TRUE(test::VirtualPrinterProcess::WaitForFile(dir.File("out/receipt-0001.png")));
    const std::string log = ReadText(dir.File("out/receipt-0001.txt"));
    EXPECT_NE(log.find("TEXT \"=============== LOGO 1\""), std::string::npos) << log;
    EXPECT_NE(log.find("FS p 2 1"), std::string::npos) << log;
    const QImage receipt(QString::fromStdString(dir.File("out/receipt-0001.png")));
    // The connection's LF, then per logo: label, LF, the logo, LF.
    int top = 16 + 30;
    for (const LogoEntry& e : app.CurrentSession().SelectedLogos.Entries()) {
        const QImage picture(QString::fromStdString(e.convertedPath));
        top += 2 * 30;
        const int bands = (picture.height() + 7) / 8 * 8;
        EXPECT_EQ(MismatchesDoubleWidth(receipt, picture, top + bands - picture.height()), 0)
            << e.name;
        top += bands + 30;
    }
    // Exit writes the stored-logo file; a new run shows the two logos.
    app.ShutDown();
    EXPECT_TRUE(std::filesystem::exists(dir.File("RP-820")));
    CStampaApp again;
    StartAndConnect(again);
    again.Sheet()->Tabs()->setCurrentIndex(4);
    EXPECT_EQ(Column(again.Sheet()->PrintPage()->List(), 1),
              (QStringList{"ring.bmp", "photo.bmp"}));
    again.ShutDown();
}

TEST_F(WholePath, NvGraphicsDownloadPrintAndDeleteFromThePages) {
    for (const char* name : {"a.bmp", "b.bmp", "c.bmp"})
        test::WriteFileBytes(dir.File(name),
                             test::Bmp1(24, 10, [](int x, int y) { return x == y; }));
    test::ScriptedFileDialog files({dir.File("a.bmp"), dir.File("b.bmp"), dir.File("c.bmp")});
    CStampaApp app;
    StartAndConnect(app);
    CMainSheet& sheet = *app.Sheet();
    sheet.SelectPage()->OnOpen();
    sheet.Tabs()->setCurrentIndex(3);
    Find<QRadioButton>(sheet.DownloadPage(), 1046)->click();
    Find<QPushButton>(sheet.DownloadPage(), 1026)->click();
    ASSERT_TRUE(WaitForDownload(app.CurrentSession(), std::chrono::seconds(30)));
    QApplication::processEvents();
    ASSERT_TRUE(app.CurrentSession().NvDownloaded);
    // Again, unchanged: nothing is written. Then the old way, from the check box.
    const auto downloadAgain = [&sheet, &app] {
        Find<QPushButton>(sheet.DownloadPage(), 1026)->click();
        ASSERT_TRUE(WaitForDownload(app.CurrentSession(), std::chrono::seconds(30)));
        QApplication::processEvents();
    };
    QCheckBox* replaceAll = Find<QCheckBox>(sheet.DownloadPage(), 1068);
    EXPECT_TRUE(replaceAll->isEnabled()) << "with the NV radio";
    downloadAgain();
    EXPECT_TRUE(
        sheet.StatusText().endsWith("；NV图形：定义 0 个，未变 3 个，删除 0 个（写入NV 0 次）"))
        << sheet.StatusText().toStdString();
    replaceAll->click();
    downloadAgain();
    replaceAll->click();
    // The print page's NV list: print logo 2, then delete it.
    sheet.Tabs()->setCurrentIndex(4);
    CPrintPage& print = *sheet.PrintPage();
    QPushButton* deleteNv = Find<QPushButton>(&print, 1066);
    EXPECT_FALSE(deleteNv->isEnabled()) << "only for NV graphics";
    Find<QRadioButton>(&print, 1049)->click();
    EXPECT_TRUE(deleteNv->isEnabled());
    print.List()->topLevelItem(1)->setSelected(true);
    emit print.List()->itemClicked(print.List()->topLevelItem(1), 0);
    Find<QPushButton>(&print, 1033)->click();
    deleteNv->click();
    EXPECT_EQ(Column(print.List(), 0), (QStringList{"1", "3"})) << "the others keep their keys";
    Find<QRadioButton>(&print, 1032)->click();  // all that is left
    Find<QPushButton>(&print, 1033)->click();
    EXPECT_EQ(op.Texts(),
              (std::vector<std::string>{"下载所选位图到NV图形（写入NV 3 次）。\n继续吗？",
                                        "下载所选位图到NV图形（写入NV 0 次）。\n继续吗？",
                                        "下载所选位图到NV图形（写入NV 4 次）。\n继续吗？",
                                        "从打印机删除NV图形 02? 此操作不能撤销。"}));
    app.ShutDown();
    ASSERT_TRUE(test::VirtualPrinterProcess::WaitForFile(dir.File("out/receipt-0002.txt")));
    const std::string first = ReadText(dir.File("out/receipt-0001.txt"));
    const std::string second = ReadText(dir.File("out/receipt-0002.txt"));
    EXPECT_NE(first.find("NV DEFINE 03 24x10"), std::string::npos) << first;
    EXPECT_NE(first.find("NV PRINT 02 1x1"), std::string::npos) << first;
    EXPECT_EQ(first.find("NV PRINT 01"), std::string::npos) << first;
    EXPECT_NE(first.find("NV DELETE ALL (NV write 4)"), std::string::npos) << first;
    EXPECT_NE(second.find("NV DELETE 02 (NV write 8)\nCAN"), std::string::npos) << second;
    EXPECT_NE(second.find("NV PRINT 03 1x1"), std::string::npos) << second;
    EXPECT_EQ(second.find("NV PRINT 02"), std::string::npos) << second;
    // The next run reads the model's NV list.
    CStampaApp again;
    StartAndConnect(again);
    Find<QRadioButton>(again.Sheet()->PrintPage(), 1049)->click();
    EXPECT_EQ(Column(again.Sheet()->PrintPage()->List(), 1), (QStringList{"a.bmp", "c.bmp"}));
    again.ShutDown();
}

TEST_F(WholePath, EnterPressesThePagesButtonAndAFailureShowsOnTheStatusLine) {
    CStampaApp app;
    ASSERT_TRUE(app.Start());
    CMainSheet& sheet = *app.Sheet();
    sheet.show();
    const auto enter = [&sheet] {
        QKeyEvent key(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(&sheet, &key);
    };
    sheet.Tabs()->setCurrentIndex(3);
    enter();
    sheet.Tabs()->setCurrentIndex(4);
    enter();
    EXPECT_EQ(op.Texts(), (std::vector<std::string>{"请先在 \"配置\" 页 中配置正确的端口!",
                                                    "请先设置通讯端口!"}))
        << "下    载, then 打   印";
    // A serial port with nothing behind it.
    sheet.Tabs()->setCurrentIndex(0);
    Find<QRadioButton>(sheet.ConfigPage(), 1004)->click();
    Find<QComboBox>(sheet.ConfigPage(), 1006)->setCurrentText("COM8");
    Find<QPushButton>(sheet.ConfigPage(), 1)->click();
    EXPECT_EQ(sheet.StatusText(), "通讯失败");
    EXPECT_EQ(sheet.ConnectionText(), "") << "no link open";
    app.ShutDown();
}

// Enter from every control of the download and print pages but their push
// buttons presses the page's button, once, whatever the desktop's theme
// lets a focused control do with the key.
TEST_F(WholePath, EnterFromEveryControlOfThePagePressesItsButton) {
    CStampaApp app;
    ASSERT_TRUE(app.Start());
    CMainSheet& sheet = *app.Sheet();
    sheet.show();
    QApplication::setActiveWindow(&sheet);
    struct PageCase {
        int tab;
        QWidget* page;
        const char* refusal;  // what the page's button says with no link
    };
    for (const PageCase& c :
         {PageCase{3, sheet.DownloadPage(), "请先在 \"配置\" 页 中配置正确的端口!"},
          PageCase{4, sheet.PrintPage(), "请先设置通讯端口!"}}) {
        sheet.Tabs()->setCurrentIndex(c.tab);
        for (QWidget* control : c.page->findChildren<QWidget*>()) {
            if (control->focusPolicy() == Qt::NoFocus || qobject_cast<QPushButton*>(control) ||
                !control->isVisibleTo(c.page) || control->parentWidget() != c.page)
                continue;
            SCOPED_TRACE(control->objectName().toStdString());
            op.Clear();
            control->setFocus(Qt::TabFocusReason);
            QKeyEvent key(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
            QApplication::sendEvent(QApplication::focusWidget(), &key);
            EXPECT_EQ(op.Texts(), std::vector<std::string>{c.refusal});
        }
    }
    app.ShutDown();
}

TEST_F(WholePath, WhatThePrinterAnswersShowsOnThePages) {
    // The printer holds NV graphics 01 and A1 (another tool's); the model's NV
    // list knows 01 and 02.
    const std::vector<unsigned char> defineTwo = {
        0x1D, 0x28, 0x4C, 12, 0, 0x30, 0x43, 0x30, '0', '1', 1, 8, 0, 1, 0, 0x31, 0xFF,
        0x1D, 0x28, 0x4C, 12, 0, 0x30, 0x43, 0x30, 'A', '1', 1, 8, 0, 1, 0, 0x31, 0xFF};
    test::WriteFileBytes(dir.File("nv.bin"), defineTwo);
    const std::string decode = std::string(STAMPA_VPRINTER) + " decode " + dir.File("nv.bin") +
                               " --state " + dir.File("state") + " --out " + dir.File("decoded") +
                               " > /dev/null 2>&1";
    ASSERT_EQ(std::system(decode.c_str()), 0);
    StartPrinter({"--state", dir.File("state"), "--paper-near-end", "--cover-open", "--nv-capacity",
                  "4000"});
    LogoStore known;  // what an earlier run stored
    known.StartDirectory = dir.Path().string();
    known.PrinterModel = "RP-820";
    known.NvLogos.Append(0, "x.bmp", "/x.bmp", "", 8, 8, 1, 1);
    known.NvLogos.Append(1, "y.bmp", "/y.bmp", "", 8, 8, 1, 2);
    ASSERT_EQ(SaveNvList(known), 1);

    CStampaApp app;
    StartAndConnect(app);
    CConfigPage& config = *app.Sheet()->ConfigPage();
    ASSERT_TRUE(Find<QPushButton>(&config, 1093)->isEnabled()) << "a USB link can read";
    Find<QPushButton>(&config, 1093)->click();
    EXPECT_EQ(config.StatusLine(), "打印机状态 (QZUSB-0): 纸将尽、上盖打开");
    Find<QRadioButton>(&config, 1004)->click();
    EXPECT_EQ(config.StatusLine(), "") << "another link chosen: the old answer goes";

    app.Sheet()->Tabs()->setCurrentIndex(3);
    Find<QRadioButton>(app.Sheet()->DownloadPage(), 1046)->click();
    EXPECT_EQ(app.Sheet()->DownloadPage()->SizeText(), "剩余 4 K / 共 4 K Bytes");
    EXPECT_TRUE(Find<QLabel>(app.Sheet()->DownloadPage(), 1022)->isVisibleTo(app.Sheet()))
        << "the capacity line is shown under the count";

    app.Sheet()->Tabs()->setCurrentIndex(4);
    CPrintPage& print = *app.Sheet()->PrintPage();
    Find<QRadioButton>(&print, 1049)->click();
    EXPECT_EQ(Column(print.List(), 0), (QStringList{"1", "A1"}));
    EXPECT_EQ(Column(print.List(), 1), (QStringList{"x.bmp", "?"})) << "y.bmp is not there";
    app.ShutDown();
}

}  // namespace
}  // namespace stampa
