// NV downloads against the virtual printer's interpreter, in process, behind
// a link that reads (USB) and one that cannot (parallel): what a download
// writes into NV memory and what it leaves alone.
#include <gtest/gtest.h>

#include <algorithm>

#include "common/messages.h"
#include "logos/nv_list.h"
#include "logos/nv_sent.h"
#include "logos/stored_list.h"
#include "protocol/commands.h"
#include "support/bmp_files.h"
#include "support/fake_transport.h"
#include "support/job_pages.h"
#include "support/logo_files.h"
#include "support/recording_operator.h"
#include "transfer/download_job.h"
#include "transfer/session.h"
#include "vprinter/printer.h"

namespace stampa {
namespace {

using Bytes = std::vector<unsigned char>;

// The virtual printer's interpreter as the far end of an in-process link.
struct InProcessPrinter {
    explicit InProcessPrinter(long long capacity) : state({.nvCapacity = capacity}) {}
    vprinter::PrinterState state;
    std::vector<std::string> log;
    Bytes replies;
    bool answersCapacity = true;
    vprinter::Session session{
        state, [this](const Bytes& b) { replies.insert(replies.end(), b.begin(), b.end()); },
        [](vprinter::Receipt&&) {}, [this](const std::string& line) { log.push_back(line); }};

    Bytes Take(const Bytes& written) {
        replies.clear();
        session.Feed(written.data(), written.size());
        const bool capacityQuestion =
            written == NvCapacityQueryCommand() || written == NvFreeCapacityQueryCommand();
        return capacityQuestion && !answersCapacity ? Bytes{} : replies;
    }
    int LogCount(const std::string& start) const {
        return static_cast<int>(std::count_if(
            log.begin(), log.end(), [&](const std::string& l) { return l.rfind(start, 0) == 0; }));
    }
};

// A w x 8 logo whose first `mark` columns are dark: each mark a different logo.
Bytes Logo(int width, int mark) {
    return test::Bmp1(width, 8, [mark](int x, int) { return x < mark; });
}

class NvSyncTest : public ::testing::Test {
  protected:
    Session session;
    void SetUp() override {
        session.SetPauses({std::chrono::milliseconds(0), std::chrono::milliseconds(0)});
        session.StartDirectory = dir.Path().string();
        session.PrinterModel = "RP-820";
    }
    void TearDown() override {
        WaitForDownload(session);
        PortClose(session.PortHandle);
    }
    void ConnectPrinter(InProcessPrinter& printer, PortKindValue kind) {
        link = test::ConnectFake(session, kind);
        link->SetReadable(kind != kParallelLink);
        link->RespondWith([&printer](const Bytes& written) { return printer.Take(written); });
        session.PortConfigured = true;
        session.PortName = kind == kParallelLink ? "LPT1" : "QZUSB-0";
    }
    // Picks the logos (name, mark) and downloads them into NV graphics.
    void Download(const std::vector<std::pair<std::string, int>>& logos, bool replaceAll = false,
                  int width = 8) {
        session.SelectedLogos.RemoveAll();
        session.SelectedCount = 0;
        session.SelectedBytes = 0;
        for (const auto& [name, mark] : logos)
            test::WriteAndPick(session, dir, name, Logo(width, mark));
        session.NvDownloaded = false;
        test::RecordingDownloadPage page(kNvMemory);
        page.replaceAllNv = replaceAll;
        StartDownload(session, page);
        ASSERT_TRUE(WaitForDownload(session, std::chrono::seconds(20)));
    }
    bool StreamHas(const Bytes& command) const {
        const Bytes all = link->Stream();
        return std::search(all.begin(), all.end(), command.begin(), command.end()) != all.end();
    }

    test::TempDir dir;
    test::RecordingOperator op;
    std::shared_ptr<test::FakeTransport> link;
};

struct SyncStep {
    const char* what;
    std::vector<std::pair<std::string, int>> logos;
    bool replaceAll;
    int definedReading, definedWriteOnly;  // NV DEFINE lines the printer logs
    int deleted;                           // NV DELETE lines, either link
};

TEST_F(NvSyncTest, DownloadsWriteOnlyWhatChangedAndLeaveOtherKeysAlone) {
    const SyncStep steps[] = {
        {"first download", {{"a.bmp", 1}, {"b.bmp", 2}, {"c.bmp", 3}}, false, 3, 3, 0},
        {"unchanged again", {{"a.bmp", 1}, {"b.bmp", 2}, {"c.bmp", 3}}, false, 0, 3, 0},
        {"one changed", {{"a.bmp", 1}, {"b.bmp", 5}, {"c.bmp", 3}}, false, 1, 3, 0},
        {"list shortened", {{"a.bmp", 1}, {"b.bmp", 5}}, false, 0, 2, 1},
        {"replace all", {{"a.bmp", 1}}, true, 1, 1, 1},
    };
    for (const PortKindValue kind : {kUsbLink, kParallelLink}) {
        SCOPED_TRACE(kind == kUsbLink ? "USB, reads" : "parallel, cannot read");
        std::filesystem::remove(NvListFileName(session.StartDirectory, session.PrinterModel));
        std::filesystem::remove(NvSentFileName(session.StartDirectory, session.PrinterModel));
        session.NvLogos.RemoveAll();
        InProcessPrinter printer(262144);
        // Another program's NV graphic, defined before Stampa came.
        const Bytes foreign = {0x1D, 0x28, 0x4C, 12, 0, 0x30, 0x43, 0x30, 'A',
                               '1',  1,    8,    0,  1, 0,    0x31, 0xAA};
        printer.session.Feed(foreign.data(), foreign.size());
        ConnectPrinter(printer, kind);
        for (const SyncStep& step : steps) {
            SCOPED_TRACE(step.what);
            printer.log.clear();
            op.Clear();
            const long long writesBefore = printer.state.NvWrites();
            Download(step.logos, step.replaceAll);
            EXPECT_TRUE(session.NvDownloaded) << (op.Texts().empty() ? "" : op.Texts().back());
            const int defined = kind == kUsbLink ? step.definedReading : step.definedWriteOnly;
            EXPECT_EQ(printer.LogCount("NV DEFINE"), defined);
            EXPECT_EQ(printer.LogCount("NV DELETE"), step.deleted);
            EXPECT_EQ(printer.state.NvWrites() - writesBefore, defined + step.deleted);
            EXPECT_EQ(printer.LogCount("NV KEYS: wrong answer"), 0);
            EXPECT_EQ(StreamHas(DeleteAllNvGraphicsCommand()), step.replaceAll);
            const int writes = defined + step.deleted;
            EXPECT_EQ(op.Texts().front(), "下载所选位图到NV图形（写入NV " + std::to_string(writes) +
                                              " 次）。\n继续吗？");
            // The printer holds exactly the list's logos, as they are now, and
            // the other program's graphic until "delete all".
            for (std::size_t i = 0; i < step.logos.size(); ++i) {
                const auto held = printer.state.Nv().find(NvKeyOf(static_cast<int>(i) + 1));
                ASSERT_NE(held, printer.state.Nv().end());
                EXPECT_EQ(held->second.rows[0], 0xFF << (8 - step.logos[i].second) & 0xFF);
            }
            EXPECT_EQ(printer.state.Nv().size(), step.logos.size() + (step.replaceAll ? 0 : 1));
            EXPECT_EQ(session.NvLogos.Count(), static_cast<int>(step.logos.size()));
        }
        PortClose(session.PortHandle);
    }
}

TEST_F(NvSyncTest, TightCapacityDeletesFirstRefusesEarlyAndChecksWhatThePrinterKept) {
    // 64 x 8 logos: 64 bytes of rows each on the printer, 75 as Stampa counts.
    InProcessPrinter printer(150);
    ConnectPrinter(printer, kUsbLink);
    Download({{"a.bmp", 1}, {"b.bmp", 2}}, false, 64);
    ASSERT_TRUE(session.NvDownloaded);

    // 22 bytes free: the changed logo's key goes first, then its definition.
    printer.log.clear();
    Download({{"a.bmp", 1}, {"b.bmp", 7}}, false, 64);
    EXPECT_TRUE(session.NvDownloaded);
    EXPECT_EQ(printer.LogCount("NV DELETE 02"), 1);
    EXPECT_EQ(printer.LogCount("NV DEFINE 02 64x8 (NV write"), 1);
    EXPECT_EQ(printer.state.Nv().at("02").rows[0], 0xFE);

    // A third logo cannot fit: refused before anything is sent.
    op.Clear();
    const std::size_t writesBefore = link->Writes().size();
    Download({{"a.bmp", 1}, {"b.bmp", 7}, {"c.bmp", 3}}, false, 64);
    ASSERT_EQ(op.Texts().size(), 1u);
    EXPECT_TRUE(op.Texts()[0].starts_with(std::string(msg::kLogosTooLarge) + "\n共 "))
        << op.Texts()[0];
    for (std::size_t i = writesBefore; i < link->Writes().size(); ++i)
        EXPECT_FALSE(link->Writes()[i].size() > 16) << "no definition sent";

    // A printer that does not tell its capacity: the definition is sent, the
    // printer keeps nothing of it, and the check afterwards finds the key missing.
    printer.answersCapacity = false;
    op.Clear();
    Download({{"a.bmp", 1}, {"b.bmp", 7}, {"c.bmp", 3}}, false, 64);
    EXPECT_EQ(op.Texts().back(), msg::kNvNotAllKept);
    EXPECT_FALSE(session.NvDownloaded);
    EXPECT_EQ(session.NvLogos.Count(), 2) << "the list records only what the printer holds";
    session.NvLogos.RemoveAll();
    ASSERT_EQ(LoadLogoListInto(session.NvLogos,
                               NvListFileName(session.StartDirectory, session.PrinterModel)),
              1);
    EXPECT_EQ(session.NvLogos.Count(), 2);
    const NvSentRecord sent = LoadNvSent(session.StartDirectory, session.PrinterModel);
    EXPECT_TRUE(sent.Find("QZUSB-0", "02").has_value());
    EXPECT_FALSE(sent.Find("QZUSB-0", "03").has_value());
}

TEST(NvSentRecordFile, KeysSentOverOneLinkAreForgottenForTheOthers) {
    NvSentRecord record;
    record.Replace("01", {"COM1", "QZUSB-0"}, 0x1234);
    record.Replace("02", {"COM1"}, 0xFFFFFFFFFFFFFFFFULL);
    record.Replace("01", {"QZUSB-0"}, 0x99);  // sent again over USB: COM1 no longer known
    EXPECT_EQ(record.Find("QZUSB-0", "01"), 0x99u);
    EXPECT_FALSE(record.Find("COM1", "01").has_value());
    const NvSentRecord read = NvSentRecord::Decode(
        record.Encode() + "bad line\nLPT1\t03\t12\nLPT1\t3\t0000000000000001\n");
    EXPECT_EQ(read, record) << "unreadable lines are left out";
    EXPECT_EQ(read.Find("COM1", "02"), 0xFFFFFFFFFFFFFFFFULL);
}

}  // namespace
}  // namespace stampa
