// The select and preview pages, offscreen, with files picked through a
// scripted file dialog and message boxes answered by the recorder.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDropEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTreeWidget>
#include <QUrl>
#include <cstring>
#include <filesystem>

#include "link/port.h"
#include "logos/logo_store.h"
#include "logos/stored_list.h"
#include "pages/download_page.h"
#include "pages/file_dialog.h"
#include "pages/preview_page.h"
#include "pages/select_page.h"
#include "support/bmp_files.h"
#include "support/fake_transport.h"
#include "support/page_helpers.h"
#include "support/picture_files.h"
#include "support/recording_operator.h"
#include "support/temp_dir.h"
#include "transfer/download_job.h"
#include "workflows/connect.h"
#include "workflows/memory_lists.h"
#include "workflows/startup.h"

namespace stampa {
namespace {

using test::Bmp1;
using test::Bmp24;
using test::BmpHeader;
using test::Find;
using test::RecordingOperator;
using test::Rgb;
using test::TempDir;

class PagesTest : public ::testing::Test {
  protected:
    Session session;
    void SetUp() override { ASSERT_TRUE(BindPixmelt(PIXMELT_LIBRARY)); }
    void TearDown() override { UnbindPixmelt(); }
    std::string File(const std::string& name, const std::vector<unsigned char>& bytes) {
        test::WriteFileBytes(dir.File(name), bytes);
        return dir.File(name);
    }
    std::string Mono(const std::string& name, int w = 40, int h = 8) {
        return File(name, Bmp1(w, h, [](int x, int y) { return (x + y) % 3 == 0; }));
    }
    std::string Photo(const std::string& name, int w = 200, int h = 100) {
        return File(
            name, Bmp24(w, h, [](int x, int y) {
                return Rgb{static_cast<unsigned char>(x), static_cast<unsigned char>(y * 2), 128};
            }));
    }
    void SelectRows(QTreeWidget* list, std::initializer_list<int> rows) {
        list->clearSelection();
        for (int r : rows)
            list->topLevelItem(r)->setSelected(true);
    }

    TempDir dir;
    RecordingOperator op;
    test::ScriptedFileDialog dialog;
};

TEST_F(PagesTest, DroppedFilesArePickedAsTheFileDialogsAre) {
    CSelectPage page{session};
    const std::string wrongKind = File("notes.txt", std::vector<unsigned char>(60, 'n'));
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QString::fromStdString(Mono("a.bmp"))),
                  QUrl::fromLocalFile(QString::fromStdString(wrongKind)),
                  QUrl::fromLocalFile(QString::fromStdString(Photo("b.bmp")))});
    QWidget* target = page.List()->viewport();
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
    ASSERT_EQ(page.List()->topLevelItemCount(), 2);
    EXPECT_EQ(page.List()->topLevelItem(1)->text(1), "b.bmp");
    EXPECT_EQ(op.Texts(), std::vector<std::string>{"请选择单色位图或24真彩色位图 ."})
        << "the file dialog's message for a file that is no picture";
}

TEST_F(PagesTest, ListsHaveGridLinesAndDoubleClickShowsTheLogoWhole) {
    CSelectPage select{session};
    dialog.next = {Mono("a.bmp", 400, 300), Mono("b.bmp")};
    select.OnOpen();
    select.resize(600, 600);
    // Between the rows, across the name column, a line darker than the page.
    const QImage shot = select.List()->viewport()->grab().toImage();
    const QRect first = select.List()->visualItemRect(select.List()->topLevelItem(0));
    const QColor base = shot.pixelColor(first.center().x(), first.center().y() - 3);
    EXPECT_NE(shot.pixelColor(first.center().x(), first.bottom()), base) << "a horizontal line";

    CPreviewPage preview{session};
    preview.OnShow();
    preview.OnListClick(preview.List()->topLevelItem(0));
    QMouseEvent twice(QEvent::MouseButtonDblClick, QPointF(4, 4), QPointF(4, 4), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(preview.Picture(), &twice);
    ASSERT_NE(preview.FullView(), nullptr);
    const auto* shown = preview.FullView()->findChild<QLabel*>();
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(shown->pixmap().size(), QSize(400, 300)) << "whole, where the page clips it";
    EXPECT_EQ(preview.FullView()->windowTitle(), "a.bmp (400 x 300)");
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(preview.FullView(), &escape);
    EXPECT_FALSE(preview.FullView() != nullptr && preview.FullView()->isVisible())
        << "Esc closes the view";
}

TEST_F(PagesTest, ThreeFilesBecomeRowsZeroToTwo) {
    CSelectPage page{session};
    dialog.next = {Mono("a.bmp"), Photo("b.bmp"), Mono("c.bmp")};
    page.OnOpen();
    ASSERT_EQ(page.List()->topLevelItemCount(), 3);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(page.List()->topLevelItem(i)->text(0), QString::number(i));
    EXPECT_EQ(page.List()->topLevelItem(1)->text(1), "b.bmp");
    EXPECT_EQ(page.List()->topLevelItem(1)->text(2), QString::fromStdString(dir.File("b.bmp")));
    EXPECT_EQ(page.List()->topLevelItem(1)->text(3), "2800");  // 4 x 7 x 100
    EXPECT_EQ(page.CountText(), "3");
    EXPECT_EQ(session.SelectedCount, 3);
    EXPECT_EQ(session.CurrentLogo, 0);
    EXPECT_TRUE(session.LogosPicked);
    EXPECT_TRUE(op.Shown().empty());
}

TEST_F(PagesTest, ALogoWiderThanThePaperIsMarkedAndAskedAboutBeforeADownload) {
    session.PaperProfile = "TM-T88V";  // 512 dots
    UseModelPaper(session);
    CSelectPage page{session};
    dialog.next = {Mono("wide.bmp", 600, 8), Mono("narrow.bmp")};
    page.OnOpen();
    const QTreeWidgetItem* wide = page.List()->topLevelItem(0);
    EXPECT_EQ(wide->toolTip(1), "比纸宽：600 > 512 点");
    EXPECT_FALSE(wide->icon(1).isNull());
    EXPECT_TRUE(page.List()->topLevelItem(1)->toolTip(1).isEmpty());

    auto link = test::ConnectFake(session, kUsbLink);
    session.PortConfigured = true;
    CDownloadPage download{session};
    op.AnswerNext(Answer::Ok);      // the download's question
    op.AnswerNext(Answer::Cancel);  // the width's
    download.OnDownload();
    WaitForDownload(session);
    EXPECT_EQ(op.Texts().back(),
              "以下位图比纸宽，打印时会被截断：\nwide.bmp：600 > 512 点\n继续吗？");
    EXPECT_TRUE(link->Stream().empty()) << "nothing sent";
    PortClose(session.PortHandle);
}

TEST_F(PagesTest, AtMost255LogosAndTheOpenButtonFollowsTheLimit) {
    CSelectPage page{session};
    dialog.next.clear();
    for (int i = 0; i < 300; ++i)
        dialog.next.push_back(Mono("m" + std::to_string(i) + ".bmp", 8, 8));
    page.OnOpen();
    EXPECT_EQ(session.SelectedCount, 255);
    EXPECT_TRUE(op.Shown().empty()) << "the rest are dropped without a message";
    auto* open = Find<QPushButton>(&page, 1010);
    EXPECT_FALSE(open->isEnabled());
    SelectRows(page.List(), {7});
    page.OnDelete();
    EXPECT_EQ(op.Texts(), std::vector<std::string>{"删除吗?"});
    EXPECT_EQ(session.SelectedCount, 254);
    EXPECT_TRUE(open->isEnabled());
}

TEST_F(PagesTest, FilesOfOtherKindsAreRefusedWithTheirMessages) {
    CSelectPage page{session};
    dialog.next = {Mono("a.bmp"), File("four.bmp", BmpHeader(8, 8, 4)),
                   File("huge.bmp", BmpHeader(9000, 8, 1)), Photo("b.bmp")};
    page.OnOpen();
    EXPECT_EQ(session.SelectedCount, 2);
    EXPECT_EQ(op.Texts(),
              (std::vector<std::string>{"图片 four.bmp 已损坏或不完整，无法打开。",
                                        "图像太大，打开失败!", "请选择单色位图或24真彩色位图 ."}))
        << "a 4-bit BMP is brought in, unless its pixels are missing";
}

TEST_F(PagesTest, AFileIsPickedOnceAndTheDeleteKeyRemovesTheSelectedRows) {
    std::vector<std::string> status;
    session.Outcome = [&status](const std::string& text) { status.push_back(text); };
    CSelectPage page{session};
    dialog.next = {Mono("a.bmp"), Mono("b.bmp")};
    page.OnOpen();
    dialog.next = {Mono("c.bmp"), dir.File("x/../a.bmp"), Mono("b.bmp")};
    page.OnOpen();
    EXPECT_EQ(page.CountText(), "3");
    EXPECT_EQ(status, std::vector<std::string>{"已在列表中：a.bmp、b.bmp"});
    SelectRows(page.List(), {1});
    QKeyEvent del(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier);
    QApplication::sendEvent(page.List(), &del);
    EXPECT_EQ(op.Texts(), std::vector<std::string>{"删除吗?"}) << "the button's question";
    EXPECT_EQ(page.CountText(), "2");
    EXPECT_EQ(session.SelectedLogos.GetName(1), "c.bmp");
}

TEST_F(PagesTest, DeletingRowsAdjustsTheShownLogo) {
    for (int current : {4, 3}) {
        SCOPED_TRACE(current);
        Session session;  // a fresh pick for each round
        CSelectPage page{session};
        dialog.next.clear();
        for (int i = 0; i < 5; ++i)
            dialog.next.push_back(Mono("m" + std::to_string(i) + ".bmp"));
        page.OnOpen();
        session.CurrentLogo = current;
        SelectRows(page.List(), {1, 3});
        op.AnswerNext(Answer::Ok);
        page.OnDelete();
        EXPECT_EQ(op.Texts().back(), "删除全部吗?");
        ASSERT_EQ(page.List()->topLevelItemCount(), 3);
        EXPECT_EQ(page.List()->topLevelItem(2)->text(0), "2");
        EXPECT_EQ(page.List()->topLevelItem(2)->text(1), "m4.bmp");
        EXPECT_EQ(session.CurrentLogo, current == 4 ? 2 : -1);
        EXPECT_EQ(session.SelectedLogos.GetName(1), "m2.bmp");
    }
    CSelectPage page{session};
    page.List()->clearSelection();
    page.OnDelete();
    EXPECT_EQ(op.Texts().back(), "请先在列表中选择需删除的位图!");
}

TEST_F(PagesTest, SizesAreShownInKiloBytesRoundedToTheNearest) {
    EXPECT_EQ(KiloBytes(1500), 2);
    EXPECT_EQ(KiloBytes(1499), 1);
    EXPECT_EQ(KiloBytes(499), 0);
    CSelectPage page{session};
    dialog.next = {Mono("a.bmp", 32, 375)};  // 4 x 375 = 1500 bytes
    page.OnOpen();
    EXPECT_EQ(page.SizeText(), "2 K Bytes");
    dialog.accept = false;  // a cancelled dialog changes nothing
    page.OnOpen();
    EXPECT_EQ(session.SelectedCount, 1);
}

TEST_F(PagesTest, PreviewConvertsATrueColourLogoWithDitherM3AtOnce) {
    CSelectPage select{session};
    dialog.next = {Mono("m.bmp"), Photo("p.bmp")};
    select.OnOpen();
    CPreviewPage preview{session};
    preview.OnShow();
    ASSERT_EQ(preview.List()->topLevelItemCount(), 2);
    Find<QRadioButton>(&preview, 1072)->click();  // "变化后状态"
    preview.OnListClick(preview.List()->topLevelItem(1));
    EXPECT_EQ(preview.CurrentMethod(), 1);
    EXPECT_TRUE(Find<QRadioButton>(&preview, 1074)->isChecked());
    EXPECT_EQ(session.SelectedLogos.GetConvertedPath(1), dir.File("pTemp.bmp"));
    EXPECT_EQ(session.SelectedLogos.GetMode(1), 1);
    EXPECT_TRUE(std::filesystem::exists(dir.File("pTemp.bmp")));
    EXPECT_EQ(session.CurrentLogo, 1);
    // A monochrome logo switches the page back to the picked view.
    preview.OnListClick(preview.List()->topLevelItem(0));
    EXPECT_EQ(preview.ConvertedView(), 0);
    EXPECT_TRUE(Find<QRadioButton>(&preview, 1071)->isChecked());
    EXPECT_FALSE(Find<QRadioButton>(&preview, 1072)->isEnabled());
    EXPECT_FALSE(Find<QSlider>(&preview, 1078)->isEnabled());
    EXPECT_EQ(session.SelectedLogos.GetConvertedPath(1), dir.File("pTemp.bmp"))
        << "the earlier logo keeps its conversion";
    EXPECT_EQ(session.SelectedLogos.GetConvertedPath(0), dir.File("m.bmp"));
    EXPECT_TRUE(op.Shown().empty());
}

// A PNG picked on the select page shows its own name and path; "试打印" on
// the preview prints it as shown with GS v 0 and stores nothing.
TEST_F(PagesTest, APngIsPickedShownAndTestPrintedFromThePreview) {
    session.StartDirectory = dir.Path().string();
    test::WriteFileBytes(
        dir.File("logo.png"), test::Png(40, 12, [](int x, int) {
            return test::Rgba{0, 0, 0, static_cast<unsigned char>(x < 20 ? 255 : 0)};
        }));
    CSelectPage select{session};
    dialog.next = {dir.File("logo.png")};
    select.OnOpen();
    ASSERT_EQ(select.List()->topLevelItemCount(), 1);
    EXPECT_EQ(select.List()->topLevelItem(0)->text(1), "logo.png");
    EXPECT_EQ(select.List()->topLevelItem(0)->text(2),
              QString::fromStdString(dir.File("logo.png")));
    auto link = test::ConnectFake(session, kUsbLink);
    session.PortConfigured = true;
    std::vector<std::string> status;
    session.Outcome = [&status](const std::string& text) { status.push_back(text); };
    CPreviewPage preview{session};
    preview.OnShow();
    preview.OnListClick(preview.List()->topLevelItem(0));
    Find<QPushButton>(&preview, 1095)->click();
    const auto writes = link->Writes();
    ASSERT_FALSE(writes.empty());
    EXPECT_EQ(std::vector<unsigned char>(writes[0].begin(), writes[0].begin() + 3),
              (std::vector<unsigned char>{0x1D, 0x76, 0x30}));
    // Row 0: dots 0..19 black (opaque), 20..39 paper (transparent).
    EXPECT_EQ(std::vector<unsigned char>(writes[0].begin() + 8, writes[0].begin() + 13),
              (std::vector<unsigned char>{0xFF, 0xFF, 0xF0, 0x00, 0x00}));
    EXPECT_EQ(status, std::vector<std::string>{"已试打印 logo.png"});
    EXPECT_FALSE(session.FlashDownloaded);
    EXPECT_EQ(session.FlashLogos.Count(), 0);
    PortClose(session.PortHandle);
}

TEST_F(PagesTest, DisplayScalesStretchThePicture) {
    CSelectPage select{session};
    dialog.next = {Photo("p.bmp", 200, 100)};
    select.OnOpen();
    CPreviewPage preview{session};
    preview.OnShow();
    preview.OnListClick(preview.List()->topLevelItem(0));
    const struct {
        int id, w, h;
    } scales[] = {{1058, 200, 100}, {1059, 400, 100}, {1060, 400, 200}, {1061, 200, 200}};
    for (const auto& s : scales) {
        Find<QRadioButton>(&preview, s.id)->click();
        const QPixmap shown = preview.Picture()->pixmap();
        EXPECT_EQ(shown.size(), QSize(s.w, s.h)) << s.id;
    }
}

TEST_F(PagesTest, SliderEndsReachPixmelt) {
    CSelectPage select{session};
    const std::string photo = Photo("p.bmp", 64, 32);
    dialog.next = {photo};
    select.OnOpen();
    CPreviewPage preview{session};
    preview.OnShow();
    Find<QRadioButton>(&preview, 1072)->click();
    preview.OnListClick(preview.List()->topLevelItem(0));
    Find<QSlider>(&preview, 1078)->setValue(0);
    Find<QSlider>(&preview, 1079)->setValue(200);
    EXPECT_EQ(Find<QLineEdit>(&preview, 1080)->text(), "-100");
    EXPECT_EQ(Find<QLineEdit>(&preview, 1081)->text(), "100");
    const auto shown = test::ReadFileBytes(dir.File("pTemp.bmp"));
    // The same conversion made directly: Dither M3, contrast -100, brightness 100.
    std::filesystem::copy_file(photo, dir.File("q.bmp"));
    char out[PIXMELT_OUTPUT_PATH_SIZE] = {};
    ASSERT_EQ(CallPixmelt(dir.File("q.bmp").c_str(), out, 1, -100, 100), 1);
    EXPECT_EQ(test::ReadFileBytes(out), shown);
}

TEST_F(PagesTest, BrokenPictureFilesAreReported) {
    CSelectPage select{session};
    const std::string photo = Photo("p.bmp", 16, 8);
    dialog.next = {photo};
    select.OnOpen();
    CPreviewPage preview{session};
    preview.OnShow();
    test::WriteFileBytes(photo, {'B', 'M', 0, 0});
    preview.OnListClick(preview.List()->topLevelItem(0));
    EXPECT_EQ(op.Texts().back(), "打开位图失败!");
}

TEST_F(PagesTest, WithoutPickedLogosThePreviewShowsTheStoredFlashList) {
    session.StoredFlashLogos.Append(0, "stored.bmp", Mono("stored.bmp"), "", 40, 40, 8, 0);
    session.StoredListLoaded = true;
    CPreviewPage preview{session};
    preview.OnShow();
    ASSERT_EQ(preview.List()->topLevelItemCount(), 1);
    EXPECT_EQ(preview.List()->topLevelItem(0)->text(1), "stored.bmp");
    preview.OnListClick(preview.List()->topLevelItem(0));
    EXPECT_EQ(session.StoredFlashLogos.GetMode(0), 0);
}

}  // namespace
}  // namespace stampa
