// The print job's sequences, checks and messages against an in-process link.
#include "transfer/print_job.h"

#include <gtest/gtest.h>

#include "common/messages.h"
#include "link/link_state.h"
#include "logos/logo_store.h"
#include "logos/nv_list.h"
#include "logos/stored_list.h"
#include "protocol/commands.h"
#include "support/fake_transport.h"
#include "support/job_pages.h"
#include "support/recording_operator.h"
#include "support/temp_dir.h"
#include "transfer/nv_delete.h"
#include "transfer/session.h"

namespace stampa {
namespace {

using test::FakePrintPage;
using test::RecordingOperator;
using Bytes = std::vector<unsigned char>;

Bytes Cat(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const auto& p : parts)
        all.insert(all.end(), p.begin(), p.end());
    return all;
}
Bytes Text(const std::string& s) {
    return Bytes(s.begin(), s.end());
}

void AddLogos(CLogoList& list, std::initializer_list<int> heights) {
    for (int h : heights) {
        const int i = list.Length();
        list.Append(i, "logo" + std::to_string(i) + ".bmp", "/p", "/c", 0, 64,
                    static_cast<std::uint32_t>(h), 0);
    }
}

class PrintJobTest : public ::testing::Test {
  protected:
    Session session;
    void SetUp() override {
        link = test::ConnectFake(session, kUsbLink);
        session.PortConfigured = true;
    }
    void TearDown() override { PortClose(session.PortHandle); }
    RecordingOperator op;
    FakePrintPage page;
    std::shared_ptr<test::FakeTransport> link;
};

TEST_F(PrintJobTest, FlashAllThreeAtActualSize) {
    session.FlashDownloaded = true;
    AddLogos(session.FlashLogos, {8, 16, 10});
    PrintLogos(session, page);
    EXPECT_EQ(link->Stream(), Cat({{0x18},
                                   {0x1D, 0x5C, 8, 0, 0x1C, 0x70, 1, 0, 0x0A},
                                   {0x1D, 0x5C, 16, 0, 0x1C, 0x70, 2, 0, 0x0A},
                                   {0x1D, 0x5C, 16, 0, 0x1C, 0x70, 3, 0, 0x0A},
                                   {0x0C}}));
    EXPECT_TRUE(op.Shown().empty());
    EXPECT_TRUE(page.enabled);
    EXPECT_EQ(page.disabledTimes, 1);
}

TEST_F(PrintJobTest, PrintedHeightFollowsTheScale) {
    EXPECT_EQ(PrintedHeight(100, 3), 208);
    EXPECT_EQ(PrintedHeight(100, 1), 104);
    EXPECT_EQ(PrintedHeight(1, 2), 16);
    session.FlashDownloaded = true;
    AddLogos(session.FlashLogos, {100});
    page.scaling = 3;
    PrintLogos(session, page);
    EXPECT_EQ(link->Writes()[1], (Bytes{0x1D, 0x5C, 0xD0, 0x00}));
    EXPECT_EQ(link->Writes()[2], (Bytes{0x1C, 0x70, 0x01, 0x03}));
}

TEST_F(PrintJobTest, RamWithLabelsNumbersFromZero) {
    session.RamDownloaded = true;
    AddLogos(session.RamLogos, {8});
    page.memory = kRamMemory;
    page.label = true;
    page.scaling = 1;
    PrintLogos(session, page);
    EXPECT_EQ(link->Stream(), Cat({{0x18},
                                   Text("=============== LOGO 0"),
                                   {0x0A, 0x0A},
                                   {0x1D, 0x5C, 8, 0},
                                   {0x1D, 0x23, 0, 0x1D, 0x2F, 1, 0x0A},
                                   {0x0A},
                                   {0x0C}}));
}

TEST_F(PrintJobTest, FlashLabelsNumberFromOneAndPartPrintsRowsInOrder) {
    session.FlashDownloaded = true;
    AddLogos(session.FlashLogos, {8, 8, 8});
    page.range = kPrintPart;
    page.rows = {2, 0};  // ascending order is the page's business; the job takes them as given
    std::sort(page.rows.begin(), page.rows.end());
    page.label = true;
    PrintLogos(session, page);
    EXPECT_EQ(link->Stream(), Cat({{0x18},
                                   Text("=============== LOGO 1"),
                                   {0x0A, 0x0A},
                                   {0x1D, 0x5C, 8, 0, 0x1C, 0x70, 1, 0, 0x0A},
                                   Text("=============== LOGO 3"),
                                   {0x0A, 0x0A},
                                   {0x1D, 0x5C, 8, 0, 0x1C, 0x70, 3, 0, 0x0A},
                                   {0x0C}}));
}

TEST_F(PrintJobTest, StoredFlashListServesUntilAFlashDownload) {
    AddLogos(session.StoredFlashLogos, {8, 8});
    AddLogos(session.FlashLogos, {8});
    PrintLogos(session, page);
    EXPECT_EQ(link->Writes().size(), 1u + 2 * 3 + 1) << "two stored logos printed";
    session.StoredFlashLogos.RemoveAll();
    PrintLogos(session, page);
    EXPECT_EQ(op.Texts(), std::vector<std::string>{msg::kDownloadToFlashFirst});
}

TEST_F(PrintJobTest, RamListAfterANewConnection) {
    page.memory = kRamMemory;
    PrintLogos(session, page);
    EXPECT_EQ(op.Texts(), std::vector<std::string>{msg::kDownloadToRamFirst});
    EXPECT_EQ(page.disabledTimes, 0) << "the print button is not touched";
    // A new connection clears session.RamDownloaded but RamLogos keeps its entries:
    // "all" still prints them, "part" finds no row.
    AddLogos(session.RamLogos, {8});
    session.RamDownloaded = false;
    PrintLogos(session, page);
    EXPECT_EQ(link->Writes().size(), 7u);
    page.range = kPrintPart;
    PrintLogos(session, page);
    EXPECT_EQ(op.Texts().back(), msg::kSelectLogosToPrint);
    EXPECT_TRUE(page.enabled);
}

// NV logos keyed 1, 2, ...: `keys` gives each entry's key number.
void AddNvLogos(LogoStore& session, std::initializer_list<int> keys) {
    for (int key : keys)
        session.NvLogos.Append(session.NvLogos.Length(), "nv" + std::to_string(key) + ".bmp", "/p",
                               "", 0, 64, 8, key);
}

TEST_F(PrintJobTest, NvPrintsByKeyWithLabelsAndAsksForADownloadFirst) {
    page.memory = kNvMemory;
    PrintLogos(session, page);
    EXPECT_EQ(op.Texts(), std::vector<std::string>{msg::kDownloadToNvFirst});
    AddNvLogos(session, {1, 4});  // 2 and 3 were deleted: the others keep their keys
    page.label = true;
    page.scaling = kDoubleWidth;
    PrintLogos(session, page);
    EXPECT_EQ(link->Stream(), Cat({{0x18},
                                   Text("=============== LOGO 1"),
                                   {0x0A, 0x0A},
                                   {0x1D, 0x5C, 8, 0},
                                   {0x1D, 0x28, 0x4C, 0x06, 0x00, 0x30, 0x45, '0', '1', 2, 1},
                                   {0x0A},
                                   Text("=============== LOGO 4"),
                                   {0x0A, 0x0A},
                                   {0x1D, 0x5C, 8, 0},
                                   {0x1D, 0x28, 0x4C, 0x06, 0x00, 0x30, 0x45, '0', '4', 2, 1},
                                   {0x0A},
                                   {0x0C}}));
}

TEST_F(PrintJobTest, NvDeleteSendsTheDeletesThenWritesTheShorterList) {
    test::TempDir dir;
    session.StartDirectory = dir.Path().string();
    session.PrinterModel = "RP-820";
    AddNvLogos(session, {1, 2, 3});
    std::vector<std::string> status;
    session.Outcome = [&status](const std::string& text) { status.push_back(text); };
    EXPECT_TRUE(DeleteNvLogos(session, false, {"03", "01", "03", "1"}));
    EXPECT_EQ(op.Texts(), std::vector<std::string>{"从打印机删除NV图形 01、03? 此操作不能撤销。"});
    EXPECT_EQ(status, std::vector<std::string>{"已从打印机删除NV图形 01、03"});
    EXPECT_EQ(link->Writes(), (std::vector<Bytes>{{0x1D, 0x28, 0x4C, 4, 0, 0x30, 0x42, '0', '1'},
                                                  {0x1D, 0x28, 0x4C, 4, 0, 0x30, 0x42, '0', '3'}}));
    session.NvLogos.RemoveAll();
    ASSERT_EQ(LoadLogoListInto(session.NvLogos, dir.File("RP-820.nv")), 1);
    ASSERT_EQ(session.NvLogos.Count(), 1);
    EXPECT_EQ(NvNumberAt(session.NvLogos, 0), 2) << "the logo left keeps its key";

    // A failed delete leaves list and file; the rest is not sent.
    const Bytes file = test::ReadFileBytes(dir.File("RP-820.nv"));
    AddNvLogos(session, {5});
    link->FailAtCall(3, 0, /*closeOnFailure=*/false);
    EXPECT_FALSE(DeleteNvLogos(session, false, {"02", "05"}));
    EXPECT_EQ(op.Texts().back(), msg::kCommunicationFailed);
    EXPECT_EQ(link->Writes().size(), 2u);
    EXPECT_EQ(session.NvLogos.Count(), 2);
    EXPECT_EQ(test::ReadFileBytes(dir.File("RP-820.nv")), file);

    // Delete all: one command, an empty list kept as a file with no entries.
    EXPECT_TRUE(DeleteNvLogos(session, true, {}));
    EXPECT_EQ(link->Writes().back(), (Bytes{0x1D, 0x28, 0x4C, 5, 0, 0x30, 0x41, 0x43, 0x4C, 0x52}));
    EXPECT_EQ(op.Texts().back(), msg::kAskDeleteAllNv);
    EXPECT_EQ(status.back(), msg::kDeletedAllNv);
    EXPECT_EQ(session.NvLogos.Count(), 0);
    EXPECT_EQ(test::ReadFileBytes(dir.File("RP-820.nv")).size(), kLogoRecordSize);

    // Nothing chosen, or the question declined: nothing sent.
    const std::size_t sent = link->Writes().size();
    EXPECT_FALSE(DeleteNvLogos(session, false, {}));
    EXPECT_EQ(op.Texts().back(), msg::kSelectRowsToDelete);
    op.AnswerNext(Answer::Cancel);
    EXPECT_FALSE(DeleteNvLogos(session, true, {}));
    EXPECT_EQ(link->Writes().size(), sent);
}

TEST_F(PrintJobTest, RefusedWithoutConnectionOrDuringADownload) {
    AddLogos(session.StoredFlashLogos, {8});
    session.PortConfigured = false;
    PrintLogos(session, page);
    session.PortConfigured = true;
    session.DownloadIdle = false;
    PrintLogos(session, page);
    EXPECT_EQ(op.Shown(),
              (std::vector<test::ShownMessage>{{MessageKind::Information, msg::kSetPortFirst},
                                               {MessageKind::Plain, msg::kDownloadRunning}}));
    EXPECT_TRUE(link->Writes().empty());
}

TEST_F(PrintJobTest, FailedExaminedWriteStopsWithoutFormFeed) {
    AddLogos(session.StoredFlashLogos, {8, 8});
    link->FailAtCall(4, 0, /*closeOnFailure=*/false);  // the first logo's closing LF
    PrintLogos(session, page);
    EXPECT_EQ(op.Shown().back(),
              (test::ShownMessage{MessageKind::Warning, msg::kCommunicationFailed}));
    EXPECT_EQ(link->Writes().size(), 3u) << "CAN, GS \\, FS p; nothing after the failed LF";
    EXPECT_TRUE(page.enabled);
}

TEST_F(PrintJobTest, UnexaminedWritesDoNotStopTheRun) {
    AddLogos(session.StoredFlashLogos, {8});
    link->FailAtCall(2, 0, /*closeOnFailure=*/false);  // GS \ fails, not examined
    PrintLogos(session, page);
    EXPECT_TRUE(op.Shown().empty());
    EXPECT_EQ(link->Writes().back(), Bytes{0x0C});
}

TEST_F(PrintJobTest, LabelNumbersOutsideTheRangeAreRefused) {
    EXPECT_FALSE(SendLogoLabel(session.PortHandle, 257));
    EXPECT_FALSE(SendLogoLabel(session.PortHandle, -1));
    EXPECT_TRUE(link->Writes().empty());
    EXPECT_TRUE(SendLogoLabel(session.PortHandle, 256));
    EXPECT_EQ(link->Stream(), Cat({Text("=============== LOGO 256"), {0x0A}}));
}

TEST_F(PrintJobTest, DriverNoticeOnceAfterStartAndAfterEachDownload) {
    PortClose(session.PortHandle);
    auto driver = test::ConnectFake(session, kDriverLink, 88);
    AddLogos(session.StoredFlashLogos, {8});
    PrintLogos(session, page);
    PrintLogos(session, page);
    session.PrintNoticePending = true;  // a download ended
    PrintLogos(session, page);
    EXPECT_EQ(op.Texts(),
              (std::vector<std::string>{msg::kPleaseWaitPrinting, msg::kPleaseWaitPrinting}));
    EXPECT_EQ(op.Shown()[0].kind, MessageKind::Plain);
    EXPECT_EQ(driver->Documents(),
              (std::vector<std::string>{"start My Document RAW", "end", "start My Document RAW",
                                        "end", "start My Document RAW", "end"}));
}

}  // namespace
}  // namespace stampa
