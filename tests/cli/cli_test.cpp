// stampa-cli as a process, against the virtual printer over a USB FIFO device.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <sstream>
#include <thread>

#include <nlohmann/json.hpp>

#include "common/version.h"
#include "logos/bitmap_reader.h"
#include "logos/logo_store.h"
#include "logos/stored_list.h"
#include "support/bmp_files.h"
#include "support/picture_files.h"
#include "support/temp_dir.h"
#include "support/test_helpers.h"
#include "support/vprinter_process.h"

namespace stampa {
namespace {

using test::Bmp1;
using test::Bmp24;
using test::Rgb;
using test::TempDir;
using test::VirtualPrinterProcess;
using test::WriteFileBytes;

std::string ReadText(const std::string& path) {
    std::ifstream in(path);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

struct CliRun {
    int status;
    std::string out;
    std::string err;
};

class CliTest : public ::testing::Test {
  protected:
    void SetUp() override {
        WriteFileBytes(dir.File("a.bmp"), Bmp1(40, 20, [](int x, int y) { return x == y; }));
        WriteFileBytes(dir.File("b.bmp"), Bmp24(24, 16, [](int x, int y) {
                           return Rgb{static_cast<unsigned char>(x * 10),
                                      static_cast<unsigned char>(y * 15), 90};
                       }));
        WriteFileBytes(dir.File("c.bmp"), Bmp1(16, 8, [](int, int) { return true; }));
    }

    std::unique_ptr<VirtualPrinterProcess> StartPrinter(std::vector<std::string> extra = {}) {
        std::vector<std::string> args = {"--usb",         dir.File("lp0"), "--out",
                                         dir.File("out"), "--state",       dir.File("flash")};
        args.insert(args.end(), extra.begin(), extra.end());
        auto printer = std::make_unique<VirtualPrinterProcess>(args);
        EXPECT_TRUE(printer->Ready()) << printer->Output();
        return printer;
    }

    CliRun Cli(const std::string& arguments, const std::string& environment = "") {
        const std::string command =
            "cd " + dir.Path().string() + " && " + environment +
            " QZUSB_DEVICE_DIR=" + dir.Path().string() + " XDG_CONFIG_HOME=" + dir.File("config") +
            " DLPORTIO_SIM=" + dir.File("lpt1.sim") + " QZUSB_STALL_MS=500" + " " + STAMPA_CLI +
            " " + arguments + " > cli.out 2> cli.err < /dev/null";
        const int raw = std::system(command.c_str());
        return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadText(dir.File("cli.out")),
                ReadText(dir.File("cli.err"))};
    }

    TempDir dir;
};

TEST_F(CliTest, DownloadThreeThenPrintTwoDoubleUnderLabels) {
    auto printer = StartPrinter();
    const CliRun download = Cli("download --link usb:0 --memory flash --yes a.bmp b.bmp c.bmp");
    ASSERT_EQ(download.status, 0) << download.err;
    EXPECT_NE(download.err.find("下载所选位图到FLASH.\n继续吗?"), std::string::npos);
    EXPECT_NE(download.err.find("sent 3/3"), std::string::npos) << download.err;
    // The download's connection ends its receipt (the blank line of the link
    // test) once the printer sees the device closed; a FIFO cannot tell two
    // writers apart, so wait for that before the next connection.
    ASSERT_TRUE(VirtualPrinterProcess::WaitForFile(dir.File("out/receipt-0001.txt")));

    const CliRun print =
        Cli("print --link usb:0 --memory flash --logos 2,3 --scale double --label");
    ASSERT_EQ(print.status, 0) << print.err;
    ASSERT_TRUE(VirtualPrinterProcess::WaitForFile(dir.File("out/receipt-0002.txt")));
    const std::string log = ReadText(dir.File("out/receipt-0002.txt"));
    const auto label2 = log.find("TEXT \"=============== LOGO 2\"");
    const auto logo2 = log.find("FS p 2 3");
    const auto label3 = log.find("TEXT \"=============== LOGO 3\"");
    const auto logo3 = log.find("FS p 3 3");
    EXPECT_LT(label2, logo2) << log;
    EXPECT_LT(logo2, label3);
    EXPECT_LT(label3, logo3);
    EXPECT_NE(logo3, std::string::npos);
    EXPECT_EQ(log.find("FS p 1 "), std::string::npos) << "logo 1 was not asked for";
}

TEST_F(CliTest, DownloadAndPrintOverTheSerialLink) {
    // COM1 is a link in the ports folder to the virtual printer's pseudo-terminal.
    std::filesystem::create_directories(dir.File("config/stampa/ports"));
    VirtualPrinterProcess printer(
        {"--serial", dir.File("config/stampa/ports/com1"), "--out", dir.File("out")});
    ASSERT_TRUE(printer.Ready()) << printer.Output();
    const CliRun ports = Cli("ports");
    EXPECT_NE(
        ports.out.find("serial:COM1  " + dir.File("config/stampa/ports/com1") + " -> /dev/pts/"),
        std::string::npos)
        << ports.out;
    const CliRun download =
        Cli("download --link serial:COM1:57600 --memory flash --yes a.bmp c.bmp");
    ASSERT_EQ(download.status, 0) << download.err;
    const CliRun print = Cli("print --link serial:COM1:57600 --memory flash --label");
    ASSERT_EQ(print.status, 0) << print.err;
    // Whether the two connections' bytes make one receipt or two depends on
    // whether the printer saw the port closed in between: read them all.
    std::string log;
    for (int i = 0; i < 500 && log.find("FF") == std::string::npos; ++i) {
        usleep(10000);
        log.clear();
        for (int n = 1; n <= 2; ++n)
            log += ReadText(dir.File("out/receipt-000" + std::to_string(n) + ".txt"));
    }
    EXPECT_NE(log.find("FS p 1 0"), std::string::npos) << log;
    EXPECT_NE(log.find("FS p 2 0"), std::string::npos) << log;
    EXPECT_EQ(log.find("ESC @"), std::string::npos) << "no ESC @ on a serial link";
}

TEST_F(CliTest, DownloadAndPrintOverTheSimulatedParallelPort) {
    VirtualPrinterProcess printer({"--lpt-sim", dir.File("lpt1.sim"), "--out", dir.File("out")});
    ASSERT_TRUE(printer.Ready()) << printer.Output();
    const CliRun download =
        Cli("download --link parallel:LPT1 --memory flash --yes a.bmp b.bmp c.bmp");
    ASSERT_EQ(download.status, 0) << download.err;
    const CliRun print =
        Cli("print --link parallel:LPT1 --memory flash --logos 3 --scale double-width");
    ASSERT_EQ(print.status, 0) << print.err;
    // The parallel port has no connections: one receipt, ended by the print's FF.
    ASSERT_TRUE(VirtualPrinterProcess::WaitForFile(dir.File("out/receipt-0001.txt")));
    const std::string log = ReadText(dir.File("out/receipt-0001.txt"));
    EXPECT_NE(log.find("FS q 3"), std::string::npos) << log;
    EXPECT_NE(log.find("FS p 3 1"), std::string::npos) << log;
    EXPECT_NE(log.find("ESC @"), std::string::npos) << "ESC @ follows the link test on parallel";
}

TEST_F(CliTest, StoredLogoFileIsTheProgramsOwn) {
    auto printer = StartPrinter();
    ASSERT_EQ(Cli("download --link usb:0 --memory flash --yes --model RP-900 a.bmp b.bmp").status,
              0);
    LogoStore session;
    ASSERT_EQ(LoadLogoList(session, dir.File("RP-900")), 1);
    ASSERT_EQ(session.StoredFlashLogos.Count(), 2);
    EXPECT_EQ(session.StoredFlashLogos.GetName(1), "b.bmp");
    EXPECT_EQ(session.StoredFlashLogos.GetPath(0), dir.File("a.bmp"));
    EXPECT_EQ(session.StoredFlashLogos.GetWidth(0), 40u);
    const CliRun list = Cli("list --model RP-900");
    EXPECT_NE(list.out.find("RP-900: 2 logos in FLASH"), std::string::npos) << list.out;
}

TEST_F(CliTest, LimitsAndCancelAreRefusals) {
    auto printer = StartPrinter();
    const CliRun nine =
        Cli("download --link usb:0 --memory ram --yes a.bmp a.bmp a.bmp a.bmp a.bmp a.bmp a.bmp "
            "a.bmp a.bmp");
    EXPECT_EQ(nine.status, 1);
    EXPECT_NE(nine.err.find("RAM中只能存储8个位图!"), std::string::npos) << nine.err;
    const CliRun linkFirst = Cli("download --memory ram --yes --link usb:0 a.bmp c.bmp");
    EXPECT_EQ(linkFirst.status, 0) << "--link takes one value; the files follow" << linkFirst.err;
    const CliRun unconfirmed = Cli("download --link usb:0 --memory flash a.bmp");
    EXPECT_EQ(unconfirmed.status, 1) << "no --yes and no terminal: Cancel";
    const CliRun noFlash = Cli("print --link usb:0 --memory flash --model Unknown");
    EXPECT_EQ(noFlash.status, 1);
    EXPECT_NE(noFlash.err.find("请先将位图下载到FLASH!"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(dir.File("RP-820")));
}

TEST_F(CliTest, PaperWidthFromTheProfileWarnsOrRefusesAndNvNeedsGraphics) {
    WriteFileBytes(dir.File("wide.bmp"), Bmp1(600, 16, [](int x, int) { return x % 7 == 0; }));
    auto printer = StartPrinter({"--capture", dir.File("capture"), "--profile", "TM-T88V"});
    const auto defined = [this] {  // GS * reached the printer
        const auto bytes = test::ReadFileBytes(dir.File("capture"));
        const unsigned char gsStar[] = {0x1D, 0x2A};
        return std::search(bytes.begin(), bytes.end(), gsStar, gsStar + 2) != bytes.end();
    };
    const CliRun strict =
        Cli("download --link usb:0 --memory ram --yes --profile TM-T88V --strict-width wide.bmp");
    EXPECT_EQ(strict.status, 1) << strict.err;
    EXPECT_NE(strict.err.find("wide.bmp：600 > 512"), std::string::npos) << strict.err;
    EXPECT_FALSE(defined()) << "nothing sent";
    const CliRun warned =
        Cli("download --link usb:0 --memory ram --yes --profile TM-T88V wide.bmp");
    EXPECT_EQ(warned.status, 0) << warned.err;
    EXPECT_NE(warned.err.find("wide.bmp：600 > 512"), std::string::npos) << warned.err;
    EXPECT_TRUE(test::FileBytesOnceAtLeast(dir.File("capture"), 600 / 8 * 16).size() > 1200);
    // Fitted to the paper: 512 dots across, and the receipt shows it whole.
    const CliRun fitted = Cli("convert --fit-width --profile TM-T88V wide.bmp");
    ASSERT_EQ(fitted.status, 0) << fitted.err;
    const std::string converted = dir.File(fitted.out.substr(0, fitted.out.find('\n')));
    const auto header = ReadBitmapHeader(converted);
    ASSERT_TRUE(header) << converted;
    EXPECT_EQ(header->width, 512);
    EXPECT_EQ(header->bitCount, 1);
    std::filesystem::copy_file(converted, dir.File("fitted.bmp"));
    EXPECT_EQ(Cli("download --link usb:0 --memory flash --yes --profile TM-T88V --strict-width "
                  "fitted.bmp")
                  .status,
              0);
    EXPECT_EQ(Cli("print --link usb:0 --memory flash --profile TM-T88V --strict-width").status, 0);
    std::string receipts;  // every receipt's log, once the print's is there
    for (int wait = 0; wait < 300 && receipts.find("FS p 1") == std::string::npos; ++wait) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        receipts.clear();
        for (const auto& e : std::filesystem::directory_iterator(dir.File("out")))
            if (e.path().extension() == ".txt")
                receipts += ReadText(e.path().string());
    }
    EXPECT_NE(receipts.find("FS p 1"), std::string::npos) << receipts;
    EXPECT_EQ(receipts.find("clipped"), std::string::npos) << receipts;
    // RP326's profile says it has no NV graphics.
    const CliRun nv = Cli("download --link usb:0 --memory nv --yes --profile RP326 a.bmp");
    EXPECT_EQ(nv.status, 1);
    EXPECT_NE(nv.err.find("--force"), std::string::npos) << nv.err;
    const CliRun profiles = Cli("profiles");
    EXPECT_NE(profiles.out.find("TM-T88V            Epson              512 dots     80 mm  "
                                "graphics:yes raster:yes column:yes"),
              std::string::npos)
        << profiles.out;
}

TEST_F(CliTest, EnglishFromTheLocaleHelpInEnglishAlwaysAndTheVersion) {
    auto printer = StartPrinter();
    const CliRun nine =
        Cli("download --link usb:0 --memory ram --yes a.bmp a.bmp a.bmp a.bmp "
            "a.bmp a.bmp a.bmp a.bmp a.bmp",
            "LANG=en_US.UTF-8");
    EXPECT_EQ(nine.status, 1);
    EXPECT_NE(nine.err.find("RAM can hold only 8 logos."), std::string::npos) << nine.err;
    EXPECT_EQ(nine.err.find("RAM中"), std::string::npos);
    for (const char* lang : {"LANG=C.UTF-8", "LANG=en_US.UTF-8", "STAMPA_LANG=zh"}) {
        const CliRun help = Cli("download --help", lang);
        EXPECT_EQ(help.status, 0);
        EXPECT_NE(help.out.find("Download pictures"), std::string::npos) << lang;
    }
    // Every program tells the one version; the window program before it needs a display.
    for (const std::string tool : {STAMPA_CLI, STAMPA_VPRINTER, STAMPA_GUI}) {
        const std::string command =
            "env -u DISPLAY -u QT_QPA_PLATFORM " + tool + " --version > " + dir.File("version.out");
        EXPECT_EQ(std::system(command.c_str()), 0) << tool;
        EXPECT_NE(ReadText(dir.File("version.out")).find(" V" STAMPA_VERSION " ("),
                  std::string::npos);
    }
}

TEST_F(CliTest, DroppedOrStalledConnectionIsACommunicationFailure) {
    // More than a pipe's 64 KiB beyond the drop, so the writer meets the closed device.
    WriteFileBytes(dir.File("big.bmp"), Bmp1(1600, 200, [](int x, int) { return x % 2 == 0; }));
    for (const char* fault : {"--drop-after", "--stall-after"}) {
        SCOPED_TRACE(fault);
        auto printer = StartPrinter({fault, "3000"});
        const auto start = std::chrono::steady_clock::now();
        const CliRun run =
            Cli("download --link usb:0 --memory flash --yes big.bmp big.bmp big.bmp");
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
        EXPECT_EQ(run.status, 3);
        EXPECT_NE(run.err.find("通讯失败，请重试!\n" + dir.File("lp0") + ": sending failed: "),
                  std::string::npos)
            << run.err;
        EXPECT_FALSE(std::filesystem::exists(dir.File("RP-820")));
    }
}

// A network printer on a free loopback port; its link as stampa-cli takes it.
std::string NetworkLink(const VirtualPrinterProcess& printer) {
    const auto at = printer.Output().find("tcp: ");
    return "tcp:" + printer.Output().substr(at + 5, printer.Output().find('\n', at) - at - 5);
}

// A PNG and a JPEG downloaded like BMPs; then printed directly (GS v 0) over
// USB and the network, storing nothing.
TEST_F(CliTest, PicturesDownloadAndPrintDirectlyOverUsbAndTheNetwork) {
    const auto shade = [](int x, int y) {
        return test::Rgba{static_cast<unsigned char>(x * 8), static_cast<unsigned char>(y * 8), 0,
                          static_cast<unsigned char>(y < 4 ? 0 : 255)};
    };
    WriteFileBytes(dir.File("logo.png"), test::Png(30, 20, shade));
    WriteFileBytes(dir.File("photo.jpg"), test::Jpeg(16, 24, shade, 6));
    auto usb = StartPrinter();
    VirtualPrinterProcess network({"--tcp", "127.0.0.1:0", "--out", dir.File("net")});
    ASSERT_TRUE(network.Ready());
    const CliRun download = Cli("download --link usb:0 --memory nv --yes logo.png photo.jpg");
    ASSERT_EQ(download.status, 0) << download.err;
    EXPECT_NE(download.out.find("2 logos downloaded to NV"), std::string::npos) << download.out;
    for (const std::string& link : {std::string("usb:0"), NetworkLink(network)}) {
        SCOPED_TRACE(link);
        const CliRun direct =
            Cli("print --direct --link " + link + " --scale double logo.png photo.jpg");
        ASSERT_EQ(direct.status, 0) << direct.err;
        EXPECT_EQ(direct.out, "已试打印 logo.png、photo.jpg\n");
    }
    ASSERT_TRUE(VirtualPrinterProcess::WaitForFile(dir.File("out/receipt-0002.txt")));
    ASSERT_TRUE(VirtualPrinterProcess::WaitForFile(dir.File("net/receipt-0001.txt")));
    for (const std::string& log :
         {ReadText(dir.File("out/receipt-0002.txt")), ReadText(dir.File("net/receipt-0001.txt"))}) {
        EXPECT_NE(log.find("GS v 0 3 32x20"), std::string::npos) << log;
        EXPECT_NE(log.find("GS v 0 3 24x16"), std::string::npos) << "the JPEG turned upright";
        EXPECT_EQ(log.find("NV DEFINE"), std::string::npos) << "nothing stored";
    }
    EXPECT_EQ(Cli("print --link usb:0 logo.png").status, 2) << "stored logos need --memory";
}

// --json: for every command one object a printer on stdout, and nothing
// else there; the exit status as without it.
TEST_F(CliTest, JsonOutputParsesForEveryCommand) {
    auto printer = StartPrinter({"--nv-capacity", "4000"});
    struct Case {
        const char* command;
        int status;
        std::function<void(const nlohmann::json&)> check;
    };
    const Case cases[] = {
        {"download --link usb:0 --memory nv --yes --json a.bmp c.bmp", 0,
         [](const nlohmann::json& o) {
             EXPECT_EQ(o["link"], "usb:0");
             EXPECT_EQ(o["ok"], true);
             EXPECT_GT(o["bytes"].get<long long>(), 0);
             EXPECT_EQ(o["defined"], 2);
             EXPECT_EQ(o["unchanged"], 0);
             EXPECT_EQ(o["nvWrites"], 2);
         }},
        {"print --link usb:0 --memory nv --json", 0,
         [](const nlohmann::json& o) { EXPECT_EQ(o["ok"], true); }},
        {"status --link usb:0 --json", 0,
         [](const nlohmann::json& o) {
             EXPECT_EQ(o["online"], true);
             EXPECT_EQ(o["coverOpen"], false);
             EXPECT_EQ(o["paper"], "ok");
         }},
        {"nv capacity --link usb:0 --json", 0,
         [](const nlohmann::json& o) {
             EXPECT_EQ(o["total"], 4000);
             EXPECT_LT(o["free"].get<long long>(), 4000);
         }},
        {"nv list --link usb:0 --json", 0,
         [](const nlohmann::json& o) {
             ASSERT_EQ(o["graphics"].size(), 2u);
             EXPECT_EQ(o["graphics"][1]["key"], "02");
             EXPECT_EQ(o["graphics"][1]["name"], "c.bmp");
         }},
        {"list --json", 0,
         [](const nlohmann::json& o) {
             EXPECT_EQ(o["model"], "RP-820");
             EXPECT_EQ(o["nv"].size(), 2u);
             EXPECT_EQ(o["nv"][0]["width"], 40);
         }},
        {"ports --json", 0,
         [](const nlohmann::json& o) {
             EXPECT_NE(std::find(o["usb"].begin(), o["usb"].end(), "usb:0"), o["usb"].end());
         }},
        {"status --link tcp:127.0.0.1:1 --json", 3,
         [](const nlohmann::json& o) {
             EXPECT_EQ(o["ok"], false);
             EXPECT_FALSE(o["message"].get<std::string>().empty());
             EXPECT_NE(o["reason"].get<std::string>().find("127.0.0.1:1"), std::string::npos);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command);
        const CliRun run = Cli(c.command);
        EXPECT_EQ(run.status, c.status) << run.err;
        ASSERT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 1) << run.out;
        const auto object = nlohmann::json::parse(run.out, nullptr, false);
        ASSERT_FALSE(object.is_discarded()) << run.out;
        c.check(object);
    }
}

TEST_F(CliTest, ManyPrintersAtOnceEachReportedAndTheFileOnlyWhenAllSucceeded) {
    constexpr int kPrinters = 20;
    std::vector<std::unique_ptr<VirtualPrinterProcess>> printers;
    std::string links, all;
    for (int i = 0; i < kPrinters; ++i) {
        const std::string n = std::to_string(i);
        printers.push_back(std::make_unique<VirtualPrinterProcess>(
            std::vector<std::string>{"--tcp", "127.0.0.1:0", "--out", dir.File("out" + n),
                                     "--capture", dir.File("capture" + n)}));
        ASSERT_TRUE(printers.back()->Ready());
        if (i < 4)
            links += " --link " + NetworkLink(*printers.back());
        all += " --link " + NetworkLink(*printers.back());
    }
    // Five printers, the last refusing: the others complete, the status says one failed.
    const CliRun five =
        Cli("download" + links + " --link tcp:127.0.0.1:1 --memory flash --yes a.bmp b.bmp c.bmp");
    EXPECT_EQ(five.status, 3) << five.out << five.err;
    std::istringstream lines(five.out);
    int ok = 0;
    for (std::string line; std::getline(lines, line);)
        ok += line.find("  ok  ") != std::string::npos;
    EXPECT_EQ(ok, 4) << five.out;
    EXPECT_NE(five.out.find(
                  "tcp:127.0.0.1:1  通讯失败.请检查打印机是否与通讯端口正确连接。 (127.0.0.1:1: "
                  "opening failed: Connection refused"),
              std::string::npos)
        << five.out;
    EXPECT_FALSE(std::filesystem::exists(dir.File("RP-820"))) << "not every printer has the logos";

    // Twenty printers, served at once by the one process: all succeed, each
    // gets the bytes the others get, the stored-logo file is written once.
    std::vector<std::size_t> before;
    for (int i = 0; i < kPrinters; ++i)
        before.push_back(test::ReadFileBytes(dir.File("capture" + std::to_string(i))).size());
    const CliRun twenty = Cli("download" + all + " --memory flash --yes a.bmp b.bmp c.bmp");
    EXPECT_EQ(twenty.status, 0) << twenty.out << twenty.err;
    EXPECT_EQ(std::count(twenty.out.begin(), twenty.out.end(), '\n'), kPrinters) << twenty.out;
    EXPECT_TRUE(std::filesystem::exists(dir.File("RP-820")));
    std::size_t most = 0;  // a printer may still be writing what it received to its capture
    for (int i = 0; i < kPrinters; ++i)
        most = std::max(
            most, test::ReadFileBytes(dir.File("capture" + std::to_string(i))).size() - before[i]);
    std::vector<unsigned char> first;
    for (int i = 0; i < kPrinters; ++i) {
        auto bytes =
            test::FileBytesOnceAtLeast(dir.File("capture" + std::to_string(i)), before[i] + most);
        bytes.erase(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(before[i]));
        if (i == 0)
            first = bytes;
        EXPECT_FALSE(bytes.empty());
        EXPECT_EQ(bytes, first) << "printer " << i;
    }

    // Two of them print.
    const std::string two =
        " --link " + NetworkLink(*printers[0]) + " --link " + NetworkLink(*printers[1]);
    const CliRun print = Cli("print" + two + " --memory flash --logos 2");
    EXPECT_EQ(print.status, 0) << print.out << print.err;
    for (int i = 0; i < 2; ++i) {
        const std::string receipts = dir.File("out" + std::to_string(i));
        ASSERT_TRUE(VirtualPrinterProcess::WaitForFile(receipts + "/receipt-0003.txt")) << i;
        EXPECT_NE(ReadText(receipts + "/receipt-0003.txt").find("FS p 2 0"), std::string::npos);
    }
}

// Every receipt log of a folder, in order.
std::string AllReceiptLogs(const std::string& folder) {
    std::string logs;
    for (int n = 1; std::filesystem::exists(folder + "/receipt-000" + std::to_string(n) + ".txt");
         ++n)
        logs += ReadText(folder + "/receipt-000" + std::to_string(n) + ".txt");
    return logs;
}

TEST_F(CliTest, NvGraphicsDownloadPrintAndDeleteOnEveryLink) {
    std::filesystem::create_directories(dir.File("config/stampa/ports"));
    struct LinkCase {
        const char* link;  // empty: the virtual printer's network address
        std::vector<std::string> printer;
    };
    const LinkCase cases[] = {
        {"usb:0", {"--usb", dir.File("lp0")}},
        {"serial:COM1:57600", {"--serial", dir.File("config/stampa/ports/com1")}},
        {"parallel:LPT1", {"--lpt-sim", dir.File("lpt1.sim")}},
        {"", {"--tcp", "127.0.0.1:0"}},
    };
    int run = 0;
    for (const LinkCase& c : cases) {
        SCOPED_TRACE(c.printer.front());
        const std::string out = dir.File("nv-out" + std::to_string(run++));
        std::vector<std::string> args = c.printer;
        args.insert(args.end(), {"--out", out});
        VirtualPrinterProcess printer(args);
        ASSERT_TRUE(printer.Ready()) << printer.Output();
        const std::string link =
            " --link " + (*c.link ? std::string(c.link) : NetworkLink(printer));
        const CliRun download = Cli("download" + link + " --memory nv --yes a.bmp b.bmp c.bmp");
        ASSERT_EQ(download.status, 0) << download.err;
        EXPECT_NE(download.out.find("3 logos downloaded to NV"), std::string::npos);
        // The same again: a printer that tells its keys is not written to.
        const CliRun again =
            Cli("download" + link + " --memory nv --yes a.bmp b.bmp c.bmp", "STAMPA_LANG=en");
        ASSERT_EQ(again.status, 0) << again.err;
        EXPECT_NE(again.out.find(c.printer.front() == "--lpt-sim"
                                     ? "; NV: 3 defined, 0 unchanged, 0 deleted (3 NV writes)"
                                     : "; NV: 0 defined, 3 unchanged, 0 deleted (0 NV writes)"),
                  std::string::npos)
            << again.out;
        // On USB one FIFO carries every connection: let the printer see each end.
        const auto settle = [&](int receipts) {
            if (c.printer.front() == "--usb")
                VirtualPrinterProcess::WaitForFile(out + "/receipt-000" + std::to_string(receipts) +
                                                   ".txt");
        };
        settle(1);
        ASSERT_EQ(Cli("print" + link + " --memory nv --label --logos 3").status, 0);
        settle(2);
        ASSERT_EQ(Cli("nv delete" + link + " --logos 1 --yes").status, 0);
        EXPECT_NE(Cli("list").out.find("RP-820: 2 logos in NV graphics"), std::string::npos);
        settle(3);
        ASSERT_EQ(Cli("print" + link + " --memory nv").status, 0);
        std::string log;
        for (int i = 0; i < 500; ++i, usleep(10000)) {
            log = AllReceiptLogs(out);
            const auto deleted = log.find("NV DELETE 01");
            if (deleted != std::string::npos &&
                log.find("NV PRINT 02", deleted) != std::string::npos)
                break;
        }
        const auto label = log.find("TEXT \"=============== LOGO 3\"");
        const auto deleted = log.find("NV DELETE 01");
        EXPECT_NE(log.find("NV DEFINE 03 16x8"), std::string::npos) << log;
        EXPECT_LT(label, log.find("NV PRINT 03 1x1")) << log;
        EXPECT_LT(log.find("NV PRINT 03 1x1"), deleted) << log;
        EXPECT_NE(log.find("NV PRINT 02 1x1", deleted), std::string::npos) << log;
        EXPECT_EQ(log.find("NV PRINT 01"), std::string::npos) << log;
    }
}

TEST_F(CliTest, QuestionsOverEveryLinkThatCanRead) {
    std::filesystem::create_directories(dir.File("config/stampa/ports"));
    const std::vector<std::string> flags = {"--paper-near-end", "--cover-open", "--nv-capacity",
                                            "5000"};
    const std::vector<std::vector<std::string>> printers = {
        {"--usb", dir.File("lp0")},
        {"--serial", dir.File("config/stampa/ports/com1")},
        {"--tcp", "127.0.0.1:0"}};
    for (const auto& transport : printers) {
        SCOPED_TRACE(transport.front());
        std::vector<std::string> args = transport;
        args.insert(args.end(), flags.begin(), flags.end());
        args.insert(args.end(), {"--out", dir.File("q-out")});
        VirtualPrinterProcess printer(args);
        ASSERT_TRUE(printer.Ready()) << printer.Output();
        const std::string link = transport.front() == "--usb" ? " --link usb:0"
                                 : transport.front() == "--serial"
                                     ? " --link serial:COM1"
                                     : " --link " + NetworkLink(printer);
        const CliRun status = Cli("status" + link);
        EXPECT_EQ(status.status, 0) << status.err;
        EXPECT_EQ(status.out, "online yes\ncover open\npaper near-end\n");
        ASSERT_EQ(Cli("download" + link + " --memory nv --yes a.bmp").status, 0);
        EXPECT_EQ(Cli("nv capacity" + link).out, "total 5000\nfree 4900\n") << "40 x 20: 100 bytes";
        EXPECT_EQ(Cli("nv list" + link).out, "01\ta.bmp\n");
    }
    VirtualPrinterProcess parallel({"--lpt-sim", dir.File("lpt1.sim"), "--out", dir.File("q-out")});
    const CliRun cannot = Cli("status --link parallel:LPT1");
    EXPECT_EQ(cannot.status, 1);
    EXPECT_NE(cannot.err.find("cannot read from the printer over this link"), std::string::npos);
}

TEST_F(CliTest, NoPrinterAndBadArguments) {
    const CliRun absent = Cli("download --link usb:7 --memory flash --yes a.bmp");
    EXPECT_EQ(absent.status, 3);
    EXPECT_NE(absent.err.find("通讯失败.请检查打印机是否与通讯端口正确连接。\n" + dir.File("lp7") +
                              ": opening failed: No such file or directory — no such device"),
              std::string::npos)
        << absent.err;
    EXPECT_EQ(Cli("download --link usb:9 --memory flash a.bmp").status, 2);
    EXPECT_EQ(Cli("download --link usb:0 --memory rom a.bmp").status, 2);
    EXPECT_EQ(Cli("print --link usb:0 --memory flash --logos 1,x").status, 2);
    EXPECT_EQ(Cli("nv delete --link usb:0 --logos 100").status, 2);
    EXPECT_EQ(Cli("nv delete --link usb:0 --all --logos 1").status, 2);
    EXPECT_EQ(Cli("nv delete --link usb:0").status, 2);
    for (const char* link : {"tcp:", "tcp::9100", "tcp:[::1", "tcp:[::1]x", "tcp:host:0",
                             "tcp:host:70000", "tcp:host:port"}) {
        EXPECT_EQ(
            Cli(std::string("download --link ") + link + " --memory flash --yes a.bmp").status, 2)
            << link;
    }
    const CliRun notBmp = Cli("download --link usb:0 --memory flash --yes cli.err");
    EXPECT_EQ(notBmp.status, 1);
}

TEST_F(CliTest, ConvertPrintsTheConvertedPath) {
    const CliRun run = Cli("convert b.bmp --method error --contrast 20");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "bTemp.bmp\n") << "named after the input as given";
    EXPECT_TRUE(std::filesystem::exists(dir.File("bTemp.bmp")));
    EXPECT_EQ(Cli("convert a.bmp").out, "a.bmp\n") << "already 1-bit";
    EXPECT_EQ(Cli("convert missing.bmp").status, 1);
}

}  // namespace
}  // namespace stampa
