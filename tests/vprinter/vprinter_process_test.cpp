// stampa-vprinter as a process, reached over each of its transports.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <termios.h>

#include <chrono>
#include <fstream>
#include <sstream>

#include "support/temp_dir.h"
#include "support/vprinter_process.h"

namespace {

using stampa::test::TempDir;
using stampa::test::VirtualPrinterProcess;
using Bytes = std::vector<unsigned char>;

std::string ReadText(const std::string& path) {
    std::ifstream in(path);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

void WriteAll(int fd, const Bytes& bytes) {
    ASSERT_EQ(write(fd, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
}

const Bytes kDownloadAndPrint = [] {
    Bytes b = {0x1C, 0x71, 0x01, 0x04, 0x00, 0x01, 0x00};
    b.insert(b.end(), 8, 0xFF);
    b.insert(b.end(), 24, 0x00);
    const std::string label = "=============== LOGO 1\n\n";
    b.insert(b.end(), label.begin(), label.end());
    const Bytes print = {0x1D, 0x5C, 0x08, 0x00, 0x1C, 0x70, 0x01, 0x01, 0x0A, 0x0C};
    b.insert(b.end(), print.begin(), print.end());
    return b;
}();

class VirtualPrinterProcessTest : public ::testing::Test {
  protected:
    TempDir dir;
    std::string out = dir.File("out");
};

TEST_F(VirtualPrinterProcessTest, ReceivesOverUsbFifoAndWritesTheReceipt) {
    VirtualPrinterProcess printer(
        {"--usb", dir.File("lp0"), "--out", out, "--state", dir.File("flash")});
    ASSERT_TRUE(printer.Ready()) << printer.Output();
    EXPECT_EQ(printer.Value("usb"), dir.File("lp0"));
    const int fd = open(dir.File("lp0").c_str(), O_WRONLY | O_NONBLOCK);
    ASSERT_GE(fd, 0);
    WriteAll(fd, kDownloadAndPrint);
    close(fd);
    ASSERT_TRUE(VirtualPrinterProcess::WaitForFile(out + "/receipt-0001.txt"));
    EXPECT_TRUE(std::filesystem::exists(out + "/receipt-0001.png"));
    const std::string log = ReadText(out + "/receipt-0001.txt");
    EXPECT_NE(log.find("FS q 1: 1 = 32x8"), std::string::npos) << log;
    EXPECT_NE(log.find("TEXT \"=============== LOGO 1\""), std::string::npos);
    EXPECT_NE(log.find("FS p 1 1"), std::string::npos);
    EXPECT_EQ(printer.Stop(), 0);
    EXPECT_FALSE(std::filesystem::exists(dir.File("lp0"))) << "the FIFO is removed at the end";
    EXPECT_TRUE(std::filesystem::exists(dir.File("flash")));
}

TEST_F(VirtualPrinterProcessTest, ReceivesOverTcpAndKeepsFlashForTheNextConnection) {
    VirtualPrinterProcess printer({"--tcp", "0", "--out", out});
    ASSERT_TRUE(printer.Ready()) << printer.Output();
    auto send = [&](const Bytes& bytes) {
        const int s = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_port = htons(static_cast<std::uint16_t>(printer.TcpPort()));
        inet_pton(AF_INET, "127.0.0.1", &addr.sin_addr);
        ASSERT_EQ(connect(s, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
        WriteAll(s, bytes);
        close(s);
    };
    send(Bytes(kDownloadAndPrint.begin(), kDownloadAndPrint.begin() + 39));  // the download only
    send({0x1C, 0x70, 0x01, 0x00, 0x0A});  // printed; the connection's end ends the receipt
    ASSERT_TRUE(VirtualPrinterProcess::WaitForFile(out + "/receipt-0001.png"));
    EXPECT_NE(ReadText(out + "/receipt-0001.txt").find("FS p 1 0"), std::string::npos);
}

TEST_F(VirtualPrinterProcessTest, AnswersStatusOnThePseudoTerminalQuickly) {
    VirtualPrinterProcess printer({"--serial", dir.File("com1"), "--out", out});
    ASSERT_TRUE(printer.Ready()) << printer.Output();
    const int fd = open(dir.File("com1").c_str(), O_RDWR | O_NOCTTY);
    ASSERT_GE(fd, 0);
    termios t{};
    tcgetattr(fd, &t);
    cfmakeraw(&t);
    tcsetattr(fd, TCSANOW, &t);
    const auto start = std::chrono::steady_clock::now();
    WriteAll(fd, {0x1D, 0x72, 0x01});
    pollfd p{fd, POLLIN, 0};
    ASSERT_EQ(poll(&p, 1, 1000), 1);
    const auto elapsed = std::chrono::steady_clock::now() - start;
    unsigned char answer = 0xEE;
    ASSERT_EQ(read(fd, &answer, 1), 1);
    EXPECT_EQ(answer, 0x00);
    EXPECT_LT(std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count(), 100);
    WriteAll(fd, kDownloadAndPrint);
    ASSERT_TRUE(VirtualPrinterProcess::WaitForFile(out + "/receipt-0001.txt"));
    close(fd);
    EXPECT_EQ(printer.Stop(), 0);
    EXPECT_FALSE(std::filesystem::exists(dir.File("com1"))) << "the link is removed at the end";
}

TEST_F(VirtualPrinterProcessTest, DropAfterClosesTheUsbDeviceUnderTheWriter) {
    VirtualPrinterProcess printer({"--usb", dir.File("lp2"), "--out", out, "--drop-after", "100"});
    ASSERT_TRUE(printer.Ready()) << printer.Output();
    signal(SIGPIPE, SIG_IGN);
    const int fd = open(dir.File("lp2").c_str(), O_WRONLY);
    ASSERT_GE(fd, 0);
    const Bytes big(200000, 0x20);
    ssize_t total = 0;
    while (total < static_cast<ssize_t>(big.size())) {
        const ssize_t n =
            write(fd, big.data() + total, big.size() - static_cast<std::size_t>(total));
        if (n <= 0)
            break;
        total += n;
    }
    EXPECT_LT(total, static_cast<ssize_t>(big.size())) << "the write broke off";
    close(fd);
}

TEST(VirtualPrinterDecode, RendersACapturedStreamOffline) {
    TempDir dir;
    {
        std::ofstream stream(dir.File("stream.bin"), std::ios::binary);
        stream.write(reinterpret_cast<const char*>(kDownloadAndPrint.data()),
                     static_cast<std::streamsize>(kDownloadAndPrint.size()));
    }
    const std::string command = std::string(STAMPA_VPRINTER) + " decode " + dir.File("stream.bin") +
                                " --out " + dir.File("out") + " --state " + dir.File("flash") +
                                " 2>/dev/null" + " && " + STAMPA_VPRINTER + " show-flash --state " +
                                dir.File("flash") + " --out " + dir.File("out") + " >/dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0);
    EXPECT_TRUE(std::filesystem::exists(dir.File("out/receipt-0001.png")));
    EXPECT_TRUE(std::filesystem::exists(dir.File("out/flash-001.png")));
}

}  // namespace
