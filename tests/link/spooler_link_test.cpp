// The spooler link through a private cupsd (the "cups" test fixture) whose
// queues lead to a virtual printer.
#include "link/spooler/spooler_link.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <thread>

#include "link/link_open.h"
#include "link/link_state.h"
#include "link/port.h"
#include "protocol/commands.h"
#include "support/bmp_files.h"
#include "support/temp_dir.h"

namespace stampa {
namespace {

using Bytes = std::vector<unsigned char>;

// The fixture's folder: where its socket (CUPS_SERVER) lies.
std::string CupsDir() {
    const char* server = std::getenv("CUPS_SERVER");
    return server != nullptr ? std::filesystem::path(server).parent_path().string() : "";
}

Bytes Captured() {
    std::ifstream in(CupsDir() + "/capture.bin", std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// What arrives at the printer after `before` bytes, once `size` bytes are there.
Bytes ArrivedAfter(std::size_t before, std::size_t size) {
    for (int i = 0; i < 1000; ++i) {
        const Bytes all = Captured();
        if (all.size() >= before + size) {
            return Bytes(all.begin() + static_cast<long>(before), all.end());
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    const Bytes all = Captured();
    return Bytes(all.begin() + static_cast<long>(std::min(before, all.size())), all.end());
}

class SpoolerLinkTest : public ::testing::Test {
  protected:
    LinkState linkState;
    void SetUp() override { ASSERT_FALSE(CupsDir().empty()) << "runs under the cups test fixture"; }
    void TearDown() override { PortClose(linkState.PortHandle); }
};

TEST_F(SpoolerLinkTest, EnumeratesTheQueuesAndPicksTheQualifyingOnes) {
    bool ok = false;
    const auto all = EnumeratePrinters(&ok);
    ASSERT_TRUE(ok);
    EXPECT_NE(std::find(all.begin(), all.end(), "Office_Laser"), all.end());
    EXPECT_EQ(QualifyingPrinters("RP-820", &ok),
              (std::vector<std::string>{"RP-820_Rejecting", "RP-820_Test"}));
    EXPECT_TRUE(QualifyingPrinters("rp-820").empty()) << "case-sensitive";
    EXPECT_TRUE(QualifiesForDriverLink("My RP-820 queue", "RP-820"));
}

TEST_F(SpoolerLinkTest, ADocumentArrivesByteForByte) {
    const std::size_t before = Captured().size();
    linkState.PortHandle = OpenPrinter("RP-820_Test");
    ASSERT_NE(linkState.PortHandle, kNoHandle);
    ASSERT_EQ(PortStartDocument(linkState.PortHandle, DefaultPrintDocInfo()), 1);
    const Bytes data = {'S', 0x00, 0x0A, 0x0D, 0x1A, 0xFF, 'E'};
    ASSERT_EQ(PortWrite(linkState.PortHandle, data.data(), static_cast<int>(data.size())), 1);
    ASSERT_EQ(PortWrite(linkState.PortHandle, data.data(), 2), 1);
    ASSERT_EQ(PortEndDocument(linkState.PortHandle), 1);
    Bytes want = data;
    want.insert(want.end(), data.begin(), data.begin() + 2);
    EXPECT_EQ(ArrivedAfter(before, want.size()), want);
}

TEST_F(SpoolerLinkTest, ARejectingQueueRefusesTheDocumentAndUnknownNamesDoNotOpen) {
    EXPECT_EQ(OpenPrinter("No_Such_Queue"), kNoHandle);
    EXPECT_EQ(OpenPrinter(""), kNoHandle);
    linkState.PortHandle = OpenPrinter("RP-820_Rejecting");
    ASSERT_NE(linkState.PortHandle, kNoHandle);
    EXPECT_EQ(PortStartDocument(linkState.PortHandle, DefaultPrintDocInfo()), 0);

    LinkSettings settings;
    settings.kind = kDriverLink;
    settings.printerName = "RP-820_Rejecting";
    const LinkOpenOutcome refused = OpenAndTestLink(settings, DefaultPrintDocInfo());
    EXPECT_EQ(refused.result, LinkOpenResult::DocumentRefused);
    EXPECT_EQ(refused.handle, kNoHandle);
    settings.printerName = "No_Such_Queue";
    EXPECT_EQ(OpenAndTestLink(settings, DefaultPrintDocInfo()).result,
              LinkOpenResult::DriverNotOpened);
}

TEST_F(SpoolerLinkTest, OpeningTheDriverLinkSendsLfThenEscAtInTwoDocuments) {
    const std::size_t before = Captured().size();
    LinkSettings settings;
    settings.kind = kDriverLink;
    settings.printerName = "RP-820_Test";
    const LinkOpenOutcome opened = OpenAndTestLink(settings, DefaultPrintDocInfo());
    ASSERT_EQ(opened.result, LinkOpenResult::Opened);
    linkState.PortHandle = opened.handle;
    EXPECT_EQ(ArrivedAfter(before, 3), (Bytes{0x0A, 0x1B, 0x40}));
    EXPECT_EQ(LinkPortName(settings), "Driver");
}

TEST_F(SpoolerLinkTest, WritingWithoutADocumentClosesThePrinter) {
    linkState.PortHandle = OpenPrinter("RP-820_Test");
    const unsigned char lf = 0x0A;
    EXPECT_EQ(PortWrite(linkState.PortHandle, &lf, 1), 0);
    EXPECT_FALSE(IsDriverConnection(linkState.PortHandle)) << "the link counts as closed";
}

// stampa-cli downloads and prints through the spooler.
TEST_F(SpoolerLinkTest, CliDownloadAndPrintThroughTheSpooler) {
    test::TempDir dir;
    test::WriteFileBytes(dir.File("a.bmp"),
                         test::Bmp1(24, 16, [](int x, int y) { return x == y; }));
    test::WriteFileBytes(dir.File("b.bmp"),
                         test::Bmp1(40, 8, [](int x, int) { return x % 2 == 0; }));
    auto cli = [&](const std::string& args) {
        const std::string command = "cd " + dir.Path().string() + " && " + STAMPA_CLI + " " + args +
                                    " > cli.out 2> cli.err < /dev/null";
        const int raw = std::system(command.c_str());
        return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    };
    // The bytes that arrive until the print job's FF has come through the spooler.
    const auto printed = [&](std::size_t before) {
        Bytes arrived;
        for (int i = 0; i < 500; ++i) {
            arrived = ArrivedAfter(before, 0);
            if (!arrived.empty() && arrived.back() == 0x0C)
                break;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return std::string(arrived.begin(), arrived.end());
    };
    std::size_t before = Captured().size();
    ASSERT_EQ(cli("download --link driver:RP-820_Test --memory flash --yes a.bmp b.bmp"), 0);
    ASSERT_EQ(cli("print --link driver:RP-820_Test --memory flash --label"), 0);
    std::string text = printed(before);
    EXPECT_NE(text.find("\x1C\x71\x02"), std::string::npos) << "FS q 2";
    EXPECT_NE(text.find("=============== LOGO 2"), std::string::npos);
    EXPECT_NE(text.find(std::string("\x1C\x70\x02\x00", 4)), std::string::npos) << "FS p 2 0";
    ASSERT_FALSE(text.empty());
    EXPECT_EQ(text.back(), 0x0C);

    before = Captured().size();
    ASSERT_EQ(cli("download --link driver:RP-820_Test --memory nv --yes a.bmp b.bmp"), 0);
    ASSERT_EQ(cli("print --link driver:RP-820_Test --memory nv --label"), 0);
    text = printed(before);
    const auto has = [&](const Bytes& bytes) {
        return text.find(std::string(bytes.begin(), bytes.end())) != std::string::npos;
    };
    const Bytes deleteAll = {0x1D, '(', 'L', 5, 0, '0', 'A', 'C', 'L', 'R'};
    EXPECT_FALSE(has(deleteAll)) << "other programs' NV graphics stay";
    EXPECT_TRUE(has({0x1D, '(', 'L', 51, 0, '0', 'C', '0', '0', '2', 1, 40, 0, 8, 0, '1'}))
        << "define 02: 40 x 8 takes 5 x 8 bytes";
    EXPECT_TRUE(has({0x1D, '(', 'L', 6, 0, '0', 'E', '0', '2', 1, 1})) << "print 02";

    // The old way, one choice away.
    before = Captured().size();
    ASSERT_EQ(cli("download --link driver:RP-820_Test --memory nv --replace-all --yes a.bmp"), 0);
    ASSERT_EQ(cli("print --link driver:RP-820_Test --memory nv"), 0);
    text = printed(before);
    EXPECT_TRUE(has(deleteAll));
}

}  // namespace
}  // namespace stampa
