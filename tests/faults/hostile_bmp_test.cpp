// Hostile BMP files through the select page, the preview page and a download:
// each has the outcome expected of it (refused with the system's message, or
// taken and downloaded as a logo of its size), nothing crashes or hangs, and
// nothing is written outside the input's folder. Every file's outcome is also
// written to hostile-results.tsv in the working directory of the test run.
#include <gtest/gtest.h>

#include <QRadioButton>
#include <QTreeWidget>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>

#include "common/bytes.h"
#include "common/messages.h"
#include "common/text_format.h"
#include "link/link_state.h"
#include "logos/logo_store.h"
#include "pages/file_dialog.h"
#include "pages/preview_page.h"
#include "pages/select_page.h"
#include "support/bmp_files.h"
#include "support/fake_transport.h"
#include "support/job_pages.h"
#include "support/page_helpers.h"
#include "support/recording_operator.h"
#include "support/temp_dir.h"
#include "transfer/download_job.h"
#include "transfer/session.h"
#include "workflows/startup.h"

namespace stampa {
namespace {

using Bytes = std::vector<unsigned char>;

enum class Outcome {
    Refused,      // by the select page: "请选择单色位图或24真彩色位图 ."
    Damaged,      // brought in as a picture of another kind, refused: "图片 … 已损坏…"
    TooLarge,     // taken, then refused by the download: "位图太大!"
    FailsToSend,  // taken, but its pixels cannot be read at sending: "通讯失败，请重试!"
    Downloaded,   // taken and downloaded
};

struct Hostile {
    std::string name;
    Bytes bytes;
    Outcome expected;
    int stride = 0;  // of the logo sent, when downloaded
    int bands = 0;
};

Bytes WithField32(Bytes b, std::size_t at, std::uint32_t value) {
    if (b.size() >= at + 4)
        WriteU32(&b[at], value);
    return b;
}
Bytes WithField16(Bytes b, std::size_t at, std::uint16_t value) {
    if (b.size() >= at + 2)
        WriteU16(&b[at], value);
    return b;
}

std::vector<Hostile> Corpus() {
    auto ink = [](int x, int y) { return (x * y) % 3 == 0; };
    const Bytes mono = test::Bmp1(24, 10, ink);
    const Bytes rgb = test::Bmp24(9, 7, [](int x, int y) {
        return test::Rgb{static_cast<unsigned char>(x * 20), static_cast<unsigned char>(y * 30),
                         77};
    });
    using enum Outcome;
    std::vector<Hostile> c = {
        {"huge-mono-claimed", test::BmpHeader(8184, 2304, 1), TooLarge},
        {"huge-rgb-claimed", test::BmpHeader(8184, 2304, 24), TooLarge},
        {"enormous", test::BmpHeader(100000, 100000, 24), Refused},
        {"width-int-max", test::BmpHeader(INT32_MAX, 1, 1), Refused},
        {"height-int-min", test::BmpHeader(8, INT32_MIN, 24), Refused},
        {"width-negative", test::BmpHeader(-8, 8, 1), Refused},
        {"width-zero", test::BmpHeader(0, 8, 24), Refused},
        {"height-zero", test::BmpHeader(8, 0, 1), Refused},
        {"offset-past-end-mono", WithField32(mono, 10, 1000000000), Downloaded, 4, 2},
        {"offset-past-end-rgb", WithField32(rgb, 10, 0xFFFFFFF0), Downloaded, 4, 1},
        {"size-field-huge", WithField32(mono, 34, 0xFFFFFFFF), Downloaded, 4, 2},
        {"info-size-huge", WithField32(mono, 14, 0xFFFFFFF0), Downloaded, 4, 2},
        {"bits-4", WithField16(mono, 28, 4), Damaged},
        {"bits-8", WithField16(mono, 28, 8), Damaged},
        {"bits-16", WithField16(rgb, 28, 16), Downloaded, 4, 1},
        {"bits-32", WithField16(rgb, 28, 32), Damaged},
        {"rle8", WithField32(WithField16(mono, 28, 8), 30, 1), Damaged},
        {"rle4", WithField32(WithField16(mono, 28, 4), 30, 2), Damaged},
        // Pixmelt does not take compressed 24-bit pictures, so nothing 1-bit is there to send.
        {"rgb-compressed", WithField32(rgb, 30, 1), FailsToSend},
        {"mono-compressed", WithField32(mono, 30, 1), Downloaded, 4, 2},
        {"top-down-mono", test::Bmp1(24, -10, ink), Downloaded, 4, 2},
        {"not-bm", WithField16(mono, 0, 0x4241), Refused},
        {"empty", {}, Refused},
    };
    // Shorter than the 54 header bytes: refused. A 1-bit picture without its
    // whole palette cannot be sent; a 24-bit one short of pixels is converted
    // with the missing pixels black.
    for (std::size_t n = 0; n < 62; ++n) {
        const Outcome monoCut = n < 54 ? Refused : FailsToSend;
        const Outcome rgbCut = n < 54 ? Refused : Downloaded;
        c.push_back({"mono-cut-at-" + std::to_string(n),
                     Bytes(mono.begin(), mono.begin() + static_cast<long>(n)), monoCut});
        c.push_back({"rgb-cut-at-" + std::to_string(n),
                     Bytes(rgb.begin(), rgb.begin() + static_cast<long>(n)), rgbCut, 4, 1});
    }
    return c;
}

// What went to the printer for one logo of that size: FS q 1, its header, its columns.
void ExpectOneLogoSent(const std::vector<unsigned char>& stream, int stride, int bands) {
    const std::vector<unsigned char> head = {
        0x1C, 0x71, 1, static_cast<unsigned char>(stride), 0, static_cast<unsigned char>(bands), 0};
    ASSERT_EQ(stream.size(), head.size() + static_cast<std::size_t>(stride * bands * 8));
    EXPECT_TRUE(std::equal(head.begin(), head.end(), stream.begin()));
}

void ExpectOutcome(const Session& session, const Hostile& h, bool taken,
                   const std::vector<std::string>& shown,
                   const std::vector<unsigned char>& stream) {
    const std::string last = shown.empty() ? std::string() : shown.back();
    switch (h.expected) {
        case Outcome::Refused:
            EXPECT_FALSE(taken);
            EXPECT_EQ(last, msg::kNotABitmapForUs);
            break;
        case Outcome::Damaged:
            EXPECT_FALSE(taken);
            EXPECT_EQ(last, FormatText(msg::kPictureDamaged, (h.name + ".bmp").c_str()));
            break;
        case Outcome::TooLarge:
        case Outcome::FailsToSend:
            EXPECT_TRUE(taken);
            EXPECT_FALSE(session.FlashDownloaded);
            // A size refusal may say its numbers on a second line.
            EXPECT_EQ(last.substr(0, last.find('\n')),
                      h.expected == Outcome::TooLarge ? msg::kLogoTooLarge
                                                      : msg::kCommunicationFailed);
            break;
        case Outcome::Downloaded:
            EXPECT_TRUE(taken);
            EXPECT_TRUE(session.FlashDownloaded) << last;
            ExpectOneLogoSent(stream, h.stride, h.bands);
            break;
    }
}

std::set<std::string> FilesIn(const std::filesystem::path& folder) {
    std::set<std::string> names;
    for (const auto& e : std::filesystem::recursive_directory_iterator(folder))
        names.insert(e.path().string());
    return names;
}

TEST(HostileFiles, RefusedOrHandledAndNothingWrittenElsewhere) {
    ASSERT_TRUE(BindPixmelt(PIXMELT_LIBRARY));
    test::TempDir root;
    const std::filesystem::path inputs = root.Path() / "inputs";
    const std::filesystem::path elsewhere = root.Path() / "cwd";
    std::filesystem::create_directories(inputs);
    std::filesystem::create_directories(elsewhere);
    const auto saved = std::filesystem::current_path();
    std::filesystem::current_path(elsewhere);

    std::ofstream results(saved / "hostile-results.tsv");
    for (const Hostile& h : Corpus()) {
        SCOPED_TRACE(h.name);
        Session session;  // each file in a session of its own
        session.StartDirectory = inputs.string();  // the picture cache goes beside the inputs
        session.SetPauses({std::chrono::milliseconds(0), std::chrono::milliseconds(0)});
        const std::string path = (inputs / (h.name + ".bmp")).string();
        test::WriteFileBytes(path, h.bytes);
        test::RecordingOperator op;
        test::ScriptedFileDialog dialog({path});
        CSelectPage select{session};
        select.OnOpen();
        const bool taken = session.SelectedCount == 1;
        std::string outcome = taken ? "taken"
                                    : "refused: " + (op.Texts().empty() ? std::string("(silent)")
                                                                        : op.Texts().back());
        std::vector<unsigned char> stream;
        if (taken) {
            CPreviewPage preview{session};
            preview.OnShow();
            preview.OnListClick(preview.List()->topLevelItem(0));
            preview.findChild<QRadioButton*>("1072")->click();
            preview.OnListClick(preview.List()->topLevelItem(0));
            // Download through an in-process link.
            auto link = test::ConnectFake(session, kUsbLink);
            session.PortConfigured = true;
            test::RecordingDownloadPage page(kFlashMemory);
            StartDownload(session, page);
            ASSERT_TRUE(WaitForDownload(session, std::chrono::seconds(30)));
            outcome += session.FlashDownloaded ? ", downloaded"
                                               : ", download refused: " + op.Texts().back();
            stream = link->Stream();
            PortClose(session.PortHandle);
        }
        ExpectOutcome(session, h, taken, op.Texts(), stream);
        std::replace(outcome.begin(), outcome.end(), '\n', ' ');  // one line a file
        results << h.name << '\t' << outcome << '\n';
    }
    std::filesystem::current_path(saved);
    EXPECT_TRUE(FilesIn(elsewhere).empty()) << "nothing written outside the inputs' folder";
    for (const std::string& file : FilesIn(inputs)) {
        const bool input = file.size() > 4 && file.find("Temp.bmp") == std::string::npos;
        const bool converted =
            file.find("Temp.bmp") != std::string::npos && file.find(".part-") == std::string::npos;
        EXPECT_TRUE(input || converted) << file;
    }
    UnbindPixmelt();
}

}  // namespace
}  // namespace stampa
