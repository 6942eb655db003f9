// The operator's workflows where the pages do not already show them: picking
// and removing while a download sends, the refusals of a pick, converting for
// the preview, and connecting when it fails.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "common/messages.h"
#include "link/link_state.h"
#include "link/usb/usb_library.h"
#include "logos/logo_store.h"
#include "logos/stored_list.h"
#include "support/bmp_files.h"
#include "support/environment.h"
#include "support/recording_operator.h"
#include "support/temp_dir.h"
#include "transfer/session.h"
#include "workflows/connect.h"
#include "workflows/memory_lists.h"
#include "workflows/pick.h"
#include "workflows/preview.h"

namespace stampa {
namespace {

using test::Bmp1;
using test::RecordingOperator;
using test::TempDir;
using test::WriteFileBytes;

class WorkflowsTest : public ::testing::Test {
  protected:
    Session session;

    std::string Mono(const std::string& name) {
        WriteFileBytes(dir.File(name), Bmp1(16, 8, [](int x, int) { return x < 3; }));
        return dir.File(name);
    }

    TempDir dir;
    RecordingOperator op;
};

TEST_F(WorkflowsTest, PickChecksEveryFileKeepsTheGoodOnesAndDropsPastTheLimit) {
    const std::string text = dir.File("note.txt");
    WriteFileBytes(text, {'h', 'i'});
    const PickOutcome first = PickLogos(session, {Mono("a.bmp"), text, Mono("b.bmp")});
    EXPECT_EQ(first.added, 2);
    EXPECT_EQ(first.refused, std::vector<std::string>{text});
    EXPECT_EQ(op.Texts(), (std::vector<std::string>{msg::kOpenBitmapFailed, msg::kOpenBitmapFailed,
                                                    msg::kNotABitmapForUs}));
    EXPECT_EQ(session.SelectedCount, 2);
    EXPECT_EQ(session.SelectedBytes, 2 * 32);  // 4 x ((16 + 31) / 32) x 8 each
    EXPECT_EQ(session.CurrentLogo, 0);
    EXPECT_TRUE(session.LogosPicked);

    std::vector<std::string> many(kMaxPickedLogos, Mono("c.bmp"));
    const PickOutcome second = PickLogos(session, many);
    EXPECT_EQ(second.added, kMaxPickedLogos - 2);
    EXPECT_EQ(second.dropped, 2);
    EXPECT_FALSE(CanPickMore(session));
}

TEST_F(WorkflowsTest, NothingChangesThePickOrTheLinkWhileADownloadSends) {
    PickLogos(session, {Mono("a.bmp"), Mono("b.bmp")});
    op.Clear();
    session.DownloadIdle = false;
    EXPECT_EQ(PickLogos(session, {Mono("c.bmp")}).added, 0);
    EXPECT_EQ(RemoveLogos(session, {0}), RemoveOutcome::NotNow);
    EXPECT_FALSE(ConvertForPreview(session, 0, kPixmeltDitherM3, 0, 0).has_value());
    session.PortHandle = 1234;  // the link the worker writes to stays open
    EXPECT_EQ(Connect(session, "RP-820", LinkSettings{}), LinkOpenResult::NotNow);
    EXPECT_EQ(session.PortHandle, 1234);
    EXPECT_EQ(op.Texts(), std::vector<std::string>(2, msg::kDownloadRunning));
    EXPECT_EQ(session.SelectedCount, 2);
    session.DownloadIdle = true;
}

TEST_F(WorkflowsTest, RemoveAsksThenRemovesValidRowsFromTheLastDown) {
    PickLogos(session, {Mono("a.bmp"), Mono("b.bmp"), Mono("c.bmp")});
    session.CurrentLogo = 2;
    op.Clear();
    EXPECT_EQ(RemoveLogos(session, {7, -1}), RemoveOutcome::NothingSelected);
    op.AnswerNext(Answer::Cancel);
    EXPECT_EQ(RemoveLogos(session, {0}), RemoveOutcome::Cancelled);
    EXPECT_EQ(RemoveLogos(session, {1, 0, 1}), RemoveOutcome::Removed);
    EXPECT_EQ(op.Texts(), (std::vector<std::string>{msg::kSelectRowsToDelete, msg::kAskDeleteOne,
                                                    msg::kAskDeleteAll}));
    EXPECT_EQ(session.SelectedCount, 1);
    EXPECT_EQ(session.SelectedLogos.GetName(0), "c.bmp");
    EXPECT_EQ(session.CurrentLogo, 0) << "the logo shown moved up with its row";
}

TEST_F(WorkflowsTest, LogoNumbersMapToRowsPerMemory) {
    EXPECT_EQ(RowsOfLogoNumbers(session, kFlashMemory, {3, 1}), (std::vector<int>{0, 2}));
    EXPECT_EQ(RowsOfLogoNumbers(session, kRamMemory, {3, 0}), (std::vector<int>{0, 3}));
    PickLogos(session, {Mono("a.bmp")});
    EXPECT_EQ(DownloadListing(session, kRamMemory).countText, "1 / 8");
    EXPECT_EQ(PrintListing(session, kRamMemory).entries.size(), 0u)
        << "no RAM download in this run";
}

TEST_F(WorkflowsTest, AFailedConnectionSavesTheOldModelsListAndClearsTheLink) {
    ASSERT_TRUE(BindUsbLibrary());
    test::SetEnvironment("QZUSB_DEVICE_DIR", dir.Path().string());  // no device here
    session.StartDirectory = dir.Path().string();
    session.PrinterModel = "RP-820";
    session.PortConfigured = true;
    PickLogos(session, {Mono("a.bmp")});
    CopyLogoList(session.SelectedLogos, session.FlashLogos);
    session.FlashDownloaded = true;

    LinkSettings none;
    none.kind = kNoLink;
    EXPECT_EQ(Connect(session, "RP-830", none), LinkOpenResult::NoLinkChosen);
    EXPECT_FALSE(std::filesystem::exists(dir.File("RP-820"))) << "nothing saved without a link";

    LinkSettings usb;
    usb.kind = kUsbLink;
    EXPECT_EQ(Connect(session, "RP-830", usb), LinkOpenResult::CommunicationFailed);
    EXPECT_TRUE(std::filesystem::exists(dir.File("RP-820")));
    EXPECT_FALSE(session.PortConfigured);
    EXPECT_EQ(session.PrinterModel, "RP-820") << "the model changes only with a connection";
    EXPECT_EQ(op.Texts(), (std::vector<std::string>{msg::kNoLinkChosen, msg::kConnectionFailed}));
    test::UnsetEnvironment("QZUSB_DEVICE_DIR");
    UnbindUsbLibrary();
}

}  // namespace
}  // namespace stampa
