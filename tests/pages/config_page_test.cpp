// The configuration page and the program's start, offscreen, with the
// virtual printer on every link and the private cupsd for the driver link.
#include "pages/config_page.h"

#include "common/version.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QTabWidget>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

#include "app/main_sheet.h"
#include "app/stampa_app.h"
#include "link/link_state.h"
#include "link/port.h"
#include "link/serial/serial_link.h"
#include "logos/logo_store.h"
#include "logos/stored_list.h"
#include "pages/download_page.h"
#include "support/fifo_reader.h"
#include "support/page_helpers.h"
#include "support/recording_operator.h"
#include "support/temp_dir.h"
#include "support/test_helpers.h"
#include "support/vprinter_process.h"
#include "transfer/session.h"
#include "workflows/startup.h"

namespace stampa {
namespace {

using test::Find;
using test::RecordingOperator;
using test::TempDir;
using test::VirtualPrinterProcess;

QStringList Items(QComboBox* combo) {
    QStringList items;
    for (int i = 0; i < combo->count(); ++i)
        items << combo->itemText(i);
    return items;
}

class ConfigPageTest : public ::testing::Test {
  protected:
    Session session;
    void SetUp() override {
        saved = std::filesystem::current_path();
        std::filesystem::current_path(dir.Path());
        session.StartDirectory = dir.Path().string();
        setenv("QZUSB_DEVICE_DIR", dir.Path().c_str(), 1);
        setenv("XDG_CONFIG_HOME", dir.File("config").c_str(), 1);
        setenv("DLPORTIO_SIM", dir.File("lpt.sim").c_str(), 1);
        std::filesystem::create_directories(dir.File("config/stampa/ports"));
        ASSERT_TRUE(BindRuntimeLibraries());
        session.timings.serial.statusWait = std::chrono::milliseconds(300);
    }
    void TearDown() override {
        PortClose(session.PortHandle);
        UnbindRuntimeLibraries();
        std::filesystem::current_path(saved);
        for (const char* v : {"QZUSB_DEVICE_DIR", "XDG_CONFIG_HOME", "DLPORTIO_SIM"})
            unsetenv(v);
    }
    std::vector<unsigned char> Captured(std::size_t atLeast) {
        return test::FileBytesOnceAtLeast(dir.File("capture"), atLeast);
    }
    std::unique_ptr<VirtualPrinterProcess> Printer(std::vector<std::string> link) {
        link.insert(link.end(), {"--out", dir.File("out"), "--capture", dir.File("capture")});
        auto p = std::make_unique<VirtualPrinterProcess>(link);
        EXPECT_TRUE(p->Ready()) << p->Output();
        return p;
    }
    void Click(int id) { Find<QRadioButton>(&page, id)->click(); }
    void Ok() { Find<QPushButton>(&page, 1)->click(); }

    TempDir dir;
    std::filesystem::path saved;
    RecordingOperator op;
    CConfigPage page{session};
};

TEST_F(ConfigPageTest, WithoutAConfigurationFileOneModelAndCom1) {
    page.Initialize();
    QComboBox* models = Find<QComboBox>(&page, 1003);
    EXPECT_EQ(Items(models), QStringList{"RP-820"});
    EXPECT_EQ(models->currentText(), "RP-820");
    EXPECT_EQ(session.PrinterModel, "RP-820");
    EXPECT_EQ(session.PortName, "COM1");
    EXPECT_TRUE(Find<QRadioButton>(&page, 1004)->isChecked());
    EXPECT_FALSE(Find<QRadioButton>(&page, 1014)->isEnabled()) << "no USB device present";
    EXPECT_TRUE(Find<QComboBox>(&page, 1006)->isEnabled());
    EXPECT_FALSE(Find<QComboBox>(&page, 1008)->isEnabled());
    EXPECT_FALSE(Find<QComboBox>(&page, 1009)->isVisible());
    EXPECT_EQ(Find<QComboBox>(&page, 1007)->currentText(), "9600");
    EXPECT_EQ(Find<QComboBox>(&page, 1041)->currentText(), "None");
    EXPECT_EQ(Find<QComboBox>(&page, 1042)->currentText(), "DTR/DSR");
}

TEST_F(ConfigPageTest, ModelsFromTheFileWithTheDefaultSelected) {
    std::ofstream(dir.File("Stampa.ini"))
        << "[Common]\nNumber=3\nDefaultNumber=2\n"
           "[Pos1]\nName=RP-810\n[Pos2]\nName=RP-820\n[Pos3]\nName=RP-900\n";
    page.Initialize();
    QComboBox* models = Find<QComboBox>(&page, 1003);
    EXPECT_EQ(Items(models), (QStringList{"RP-810", "RP-820", "RP-900"}));
    EXPECT_EQ(models->currentIndex(), 1);
    // RP-810 has no USB link, and no driver link once confirmed.
    test::FifoReader lp0(dir.File("lp0"));
    page.Initialize();
    EXPECT_TRUE(Find<QRadioButton>(&page, 1014)->isEnabled());
    models->setCurrentIndex(0);
    EXPECT_FALSE(Find<QRadioButton>(&page, 1014)->isEnabled());
    page.OnLinkButton(kNoLink);
    Ok();
    EXPECT_FALSE(Find<QRadioButton>(&page, 1012)->isEnabled());
    EXPECT_FALSE(Find<QComboBox>(&page, 1013)->isEnabled());
    EXPECT_EQ(op.Shown().back(),
              (test::ShownMessage{MessageKind::Exclamation, "没有选择正确的通讯端口或驱动程序!"}));
}

TEST_F(ConfigPageTest, UsbListShowsThePresentDevicesAndOkOpensTheChosenOne) {
    test::FifoReader lp0(dir.File("lp0"));
    test::FifoReader lp2(dir.File("lp2"));
    page.Initialize();
    Click(1014);
    QComboBox* usb = Find<QComboBox>(&page, 1015);
    EXPECT_EQ(Items(usb), (QStringList{"QZUSB-0", "QZUSB-2"}));
    usb->setCurrentIndex(1);
    EXPECT_EQ(session.PortKind, kSerialLink) << "the session's link changes with OK only";
    Ok();
    EXPECT_EQ(session.PortKind, kUsbLink);
    EXPECT_TRUE(session.PortConfigured);
    EXPECT_EQ(session.PortName, "QZUSB-2");
    EXPECT_EQ(lp2.WaitFor(3), (std::vector<unsigned char>{0x0A, 0x1B, 0x40}));
    EXPECT_TRUE(lp0.Received().empty());
}

TEST_F(ConfigPageTest, ALinkTheModelDoesNotOfferIsNeitherCheckedNorChosen) {
    std::ofstream(dir.File("Stampa.ini"))
        << "[Common]\nNumber=2\nDefaultNumber=2\n[Pos1]\nName=RP-810\n[Pos2]\nName=RP-820\n";
    test::FifoReader lp0(dir.File("lp0"));
    page.Initialize();
    Click(1014);  // USB, on RP-820
    ASSERT_EQ(page.ChosenLink(), kUsbLink);
    Find<QComboBox>(&page, 1003)->setCurrentIndex(0);  // RP-810: no USB
    QRadioButton* usb = Find<QRadioButton>(&page, 1014);
    EXPECT_FALSE(usb->isChecked());
    EXPECT_FALSE(usb->isEnabled());
    EXPECT_FALSE(usb->toolTip().isEmpty()) << "says why";
    EXPECT_EQ(page.ChosenLink(), kSerialLink);
    EXPECT_TRUE(Find<QRadioButton>(&page, 1004)->isChecked());
}

TEST_F(ConfigPageTest, NoUsbDeviceMeansNoLink) {
    page.Initialize();
    page.OnLinkButton(kUsbLink);
    EXPECT_EQ(page.ChosenLink(), kNoLink);
    EXPECT_TRUE(op.Shown().empty()) << "no message for USB";
    Ok();
    EXPECT_EQ(op.Texts(), std::vector<std::string>{"没有选择正确的通讯端口或驱动程序!"});
    EXPECT_FALSE(session.PortConfigured);
}

TEST_F(ConfigPageTest, OkOnTheSerialLinkSendsStatusRequestAndLineFeedOnly) {
    auto printer = Printer({"--serial", dir.File("config/stampa/ports/com1")});
    page.Initialize();
    Ok();
    ASSERT_TRUE(session.PortConfigured) << (op.Texts().empty() ? "" : op.Texts().back());
    EXPECT_EQ(session.PortName, "COM1");
    EXPECT_EQ(Captured(4), (std::vector<unsigned char>{0x1D, 0x72, 0x01, 0x0A}));
}

TEST_F(ConfigPageTest, SilentSerialPrinterFailsWithTheConnectionMessage) {
    auto printer = Printer({"--serial", dir.File("config/stampa/ports/com1"), "--no-status"});
    page.Initialize();
    session.PortConfigured = true;
    Ok();
    EXPECT_EQ(op.Shown().back(),
              (test::ShownMessage{MessageKind::Exclamation,
                                  "通讯失败.请检查打印机是否与通讯端口正确连接。"}));
    ASSERT_EQ(op.Details().size(), 1u) << "why, under the message";
    EXPECT_EQ(op.Details()[0], dir.File("config/stampa/ports/com1") +
                                   ": the link test failed — the printer did not answer: check "
                                   "the cable, power and the line settings");
    EXPECT_FALSE(session.PortConfigured);
    EXPECT_EQ(session.PortHandle, kNoHandle);
    EXPECT_TRUE(Find<QPushButton>(&page, 1)->isEnabled());
}

TEST_F(ConfigPageTest, OkOnTheParallelLinkSendsLineFeedThenInitialize) {
    auto printer = Printer({"--lpt-sim", dir.File("lpt.sim")});
    page.Initialize();
    Click(1005);
    Ok();
    ASSERT_TRUE(session.PortConfigured);
    EXPECT_EQ(session.PortName, "LPT1");
    EXPECT_EQ(Captured(3), (std::vector<unsigned char>{0x0A, 0x1B, 0x40}));
}

TEST_F(ConfigPageTest, NetworkLinkFromTheConfigurationFileEvenForAModelWithoutUsb) {
    auto printer = Printer({"--tcp", "127.0.0.1:0"});
    const std::string port = std::to_string(
        std::atoi(printer->Output().c_str() + printer->Output().find("tcp: 127.0.0.1:") + 15));
    std::ofstream(dir.File("Stampa.ini")) << "[Common]\nNumber=1\n[Pos1]\nName=RP-810\n"
                                          << "[Network]\nHost=127.0.0.1\nPort=" << port << "\n";
    page.Initialize();
    auto* host = Find<QLineEdit>(&page, 1091);
    EXPECT_EQ(host->text(), "127.0.0.1");
    EXPECT_FALSE(host->isEnabled()) << "only with the network link chosen";
    Click(1090);
    EXPECT_TRUE(host->isEnabled());
    EXPECT_FALSE(Find<QComboBox>(&page, 1006)->isEnabled());
    Ok();
    ASSERT_TRUE(session.PortConfigured) << (op.Texts().empty() ? "" : op.Texts().back());
    EXPECT_EQ(session.PortName, "127.0.0.1:" + port);
    EXPECT_EQ(Captured(3), (std::vector<unsigned char>{0x0A, 0x1B, 0x40}));

    // Nobody at the address: the usual failure, and no link stays open.
    Find<QLineEdit>(&page, 1092)->setText("1");
    Ok();
    EXPECT_EQ(op.Texts().back(), "通讯失败.请检查打印机是否与通讯端口正确连接。");
    EXPECT_FALSE(session.PortConfigured);
    EXPECT_EQ(session.PortHandle, kNoHandle);
}

TEST_F(ConfigPageTest, OkWaitsForAnAddressWithoutBlanksAndAPortOfOneTo65535) {
    page.Initialize();
    auto* host = Find<QLineEdit>(&page, 1091);
    auto* port = Find<QLineEdit>(&page, 1092);
    QPushButton* ok = Find<QPushButton>(&page, 1);
    Click(1090);
    EXPECT_FALSE(ok->isEnabled()) << "no address yet";
    EXPECT_EQ(ok->toolTip(), "请填写IP地址和端口（1–65535）。");
    host->insert("print er");
    EXPECT_EQ(host->text(), "") << "blanks cannot be typed";
    host->insert("printer.local");
    EXPECT_TRUE(ok->isEnabled());
    for (const char* bad : {"0", "65536", ""}) {
        port->setText(bad);
        EXPECT_FALSE(ok->isEnabled()) << bad;
    }
    port->setText("65535");
    EXPECT_TRUE(ok->isEnabled());
    host->clear();
    Click(1004);
    EXPECT_TRUE(ok->isEnabled()) << "the serial link needs no address";
}

TEST_F(ConfigPageTest, TheLastOkChoiceIsPreselectedAtTheNextStartAndNothingConnects) {
    std::ofstream(dir.File("Stampa.ini"))
        << "[Common]\nNumber=2\n[Pos1]\nName=RP-820\n[Pos2]\nName=RP-900\n";
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                       QString::fromStdString(dir.File("settings")));
    QCoreApplication::setOrganizationName("Stampa");
    page.Initialize();
    Find<QComboBox>(&page, 1003)->setCurrentText("RP-900");
    Find<QComboBox>(&page, 1007)->setCurrentText("19200");
    Click(1090);
    Find<QLineEdit>(&page, 1091)->setText("127.0.0.1");
    Find<QLineEdit>(&page, 1092)->setText("1");  // nobody there: OK fails, the choice stays
    Ok();
    EXPECT_FALSE(session.PortConfigured);

    Session next;
    CConfigPage again{next};
    again.Initialize();
    QCoreApplication::setOrganizationName({});
    EXPECT_EQ(Find<QComboBox>(&again, 1003)->currentText(), "RP-900");
    EXPECT_EQ(Find<QComboBox>(&again, 1007)->currentText(), "19200");
    EXPECT_TRUE(Find<QRadioButton>(&again, 1090)->isChecked());
    EXPECT_EQ(again.ChosenLink(), kNetworkLink);
    EXPECT_EQ(Find<QLineEdit>(&again, 1091)->text(), "127.0.0.1");
    EXPECT_EQ(Find<QLineEdit>(&again, 1092)->text(), "1");
    EXPECT_FALSE(next.PortConfigured) << "nothing connects by itself";
    EXPECT_EQ(next.PortHandle, kNoHandle);
}

TEST_F(ConfigPageTest, ANewConnectionSavesTheOldModelsListAndLoadsTheNewOnes) {
    std::ofstream(dir.File("Stampa.ini"))
        << "[Common]\nNumber=2\n[Pos1]\nName=RP-820\n[Pos2]\nName=RP-900\n";
    test::FifoReader lp0(dir.File("lp0"));
    page.Initialize();
    session.FlashLogos.Append(0, "a.bmp", "/a.bmp", "/a.bmp", 32, 8, 8, 0);
    session.FlashLogos.Append(1, "b.bmp", "/b.bmp", "/b.bmp", 32, 8, 8, 0);
    session.FlashLogos.Append(2, "c.bmp", "/c.bmp", "/c.bmp", 32, 8, 8, 0);
    session.FlashDownloaded = true;
    session.RamDownloaded = true;
    session.StoredFlashLogos.Append(0, "stale.bmp", "/s", "/s", 0, 0, 0, 0);
    Find<QComboBox>(&page, 1003)->setCurrentIndex(1);
    Click(1014);
    Ok();
    ASSERT_TRUE(session.PortConfigured);
    EXPECT_EQ(session.PrinterModel, "RP-900");
    EXPECT_TRUE(std::filesystem::exists(dir.File("RP-820"))) << "saved under the old model";
    EXPECT_FALSE(std::filesystem::exists(dir.File("RP-900")));
    EXPECT_EQ(session.StoredFlashLogos.Length(), 0) << "RP-900 has no file yet";
    EXPECT_TRUE(session.StoredListLoaded);
    EXPECT_FALSE(session.FlashDownloaded);
    EXPECT_FALSE(session.RamDownloaded);
    // Back to RP-820: its three logos come back.
    Find<QComboBox>(&page, 1003)->setCurrentIndex(0);
    Ok();
    EXPECT_EQ(session.StoredFlashLogos.Count(), 3);
    EXPECT_EQ(session.StoredFlashLogos.GetName(2), "c.bmp");
}

TEST_F(ConfigPageTest, DriverListHoldsTheQualifyingQueuesAndOkUsesTwoDocuments) {
    const char* server = std::getenv("CUPS_SERVER");
    ASSERT_NE(server, nullptr) << "runs under the cups test fixture";
    const std::string capture =
        std::filesystem::path(server).parent_path().string() + "/capture.bin";
    auto size = [&] {
        return std::filesystem::exists(capture) ? std::filesystem::file_size(capture) : 0;
    };
    page.Initialize();
    EXPECT_TRUE(Find<QRadioButton>(&page, 1012)->isEnabled());
    Click(1012);
    QComboBox* drivers = Find<QComboBox>(&page, 1013);
    EXPECT_EQ(Items(drivers), (QStringList{"RP-820_Rejecting", "RP-820_Test"}))
        << "Office_Laser does not qualify";
    EXPECT_EQ(drivers->currentIndex(), 0);
    Ok();  // the rejecting queue refuses the document: no message, no link
    EXPECT_FALSE(session.PortConfigured);
    EXPECT_TRUE(op.Shown().empty());
    const auto before = size();
    drivers->setCurrentIndex(1);
    Ok();
    ASSERT_TRUE(session.PortConfigured);
    EXPECT_EQ(session.PortName, "Driver");
    for (int i = 0; i < 300 && size() < before + 3; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    std::ifstream in(capture, std::ios::binary);
    const std::vector<unsigned char> all{std::istreambuf_iterator<char>(in),
                                         std::istreambuf_iterator<char>()};
    EXPECT_EQ(std::vector<unsigned char>(all.begin() + static_cast<long>(before), all.end()),
              (std::vector<unsigned char>{0x0A, 0x1B, 0x40}));
}

TEST_F(ConfigPageTest, NoQualifyingDriverIsSaidAndLeavesNoLink) {
    std::ofstream(dir.File("Stampa.ini")) << "[Common]\nBaseDriverName=NoSuchMaker\n";
    page.Initialize();
    EXPECT_FALSE(Find<QRadioButton>(&page, 1012)->isEnabled());
    EXPECT_EQ(Find<QRadioButton>(&page, 1012)->toolTip(), "没有找到打印队列。")
        << "the test's spooler runs, without such a queue";
    page.OnLinkButton(kDriverLink);
    EXPECT_EQ(op.Shown(),
              (std::vector<test::ShownMessage>{{MessageKind::Plain, "找不到正确的打印机驱动!"}}));
    EXPECT_EQ(page.ChosenLink(), kNoLink);
}

TEST(StampaStart, AMissingLibraryEndsTheProgramWithTheLoadingMessage) {
    for (const RuntimeLibraryFiles& files :
         {RuntimeLibraryFiles{"/nonexistent/libpixmelt.so", kUsbLibraryFile},
          RuntimeLibraryFiles{kPixmeltLibraryFile, QZUSB_WITHOUT_SETINTERFACE_LIBRARY}}) {
        RecordingOperator op;
        CStampaApp app(files);
        EXPECT_EQ(app.Run(), 1);
        EXPECT_EQ(op.Shown(), (std::vector<test::ShownMessage>{
                                  {MessageKind::Plain, "装载USB dll 或 pixmelt dll失败!"}}));
        EXPECT_FALSE(UsbLibraryBound());
    }
}

TEST(StampaStart, TheSheetHasItsCaptionTabsAndExitButton) {
    Session session;
    CMainSheet sheet{session};
    EXPECT_EQ(sheet.windowTitle(), "Stampa V" STAMPA_VERSION);
    QStringList tabs;
    for (int i = 0; i < sheet.Tabs()->count(); ++i)
        tabs << sheet.Tabs()->tabText(i);
    EXPECT_EQ(tabs, (QStringList{"配置", "选择", "预览", "下载", "打印"}));
    EXPECT_EQ(sheet.Tabs()->currentIndex(), 0);
    auto* exit = sheet.findChild<QPushButton*>("exit");
    ASSERT_NE(exit, nullptr);
    EXPECT_EQ(exit->text(), "退  出");
    EXPECT_FALSE(sheet.windowIcon().isNull());
    // Closing during a download is refused.
    RecordingOperator op;
    session.DownloadIdle = false;
    sheet.show();
    exit->click();
    EXPECT_TRUE(sheet.isVisible());
    EXPECT_EQ(op.Texts(), std::vector<std::string>{"位图正在下载!"});
    session.DownloadIdle = true;
    exit->click();
    EXPECT_FALSE(sheet.isVisible());
}

TEST(StampaStart, EscOnTheSheetTakesTheExitButtonsPath) {
    Session session;
    CMainSheet sheet{session};
    RecordingOperator op;
    session.DownloadIdle = false;
    sheet.show();
    QApplication::setActiveWindow(&sheet);
    sheet.Tabs()->setCurrentIndex(3);
    QWidget* radio = Find<QRadioButton>(sheet.DownloadPage(), 1045);
    radio->setFocus();
    const auto esc = [radio] {
        QKeyEvent key(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(radio, &key);
    };
    esc();
    EXPECT_TRUE(sheet.isVisible()) << "refused while a download sends";
    EXPECT_EQ(op.Texts(), std::vector<std::string>{"位图正在下载!"});
    session.DownloadIdle = true;
    esc();
    EXPECT_FALSE(sheet.isVisible());
}

TEST(StampaStart, ExitAfterAFlashDownloadWritesTheModelsFile) {
    TempDir dir;
    std::filesystem::create_directories(dir.File("pictures"));
    const auto saved = std::filesystem::current_path();
    std::filesystem::current_path(dir.Path());
    CStampaApp app;
    ASSERT_TRUE(app.Start());
    app.CurrentSession().PrinterModel = "RP-820";
    app.CurrentSession().FlashLogos.Append(0, "a.bmp", "/a.bmp", "/a.bmp", 32, 8, 8, 0);
    app.ShutDown();
    EXPECT_FALSE(std::filesystem::exists(dir.File("RP-820")))
        << "no FLASH download: nothing written";

    ASSERT_TRUE(app.Start());
    app.CurrentSession().PrinterModel = "RP-820";
    app.CurrentSession().FlashDownloaded = true;
    // The file dialog makes the pictures' folder the working directory.
    std::filesystem::current_path(dir.File("pictures"));
    app.ShutDown();
    std::filesystem::current_path(saved);
    EXPECT_TRUE(std::filesystem::exists(dir.File("RP-820"))) << "in the folder it started from";
    EXPECT_FALSE(std::filesystem::exists(dir.File("pictures/RP-820")));
}

}  // namespace
}  // namespace stampa
