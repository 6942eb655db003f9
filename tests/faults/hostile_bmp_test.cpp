// Hostile BMP files through the select page, the preview page and a download:
// each is refused with a message or handled soundly, nothing crashes or hangs,
// and nothing is written outside the input's folder. Every file's outcome is
// written to hostile-results.tsv in the working directory of the test run.
#include <gtest/gtest.h>

#include <QRadioButton>
#include <QTreeWidget>
#include <filesystem>
#include <fstream>
#include <set>

#include "common/bytes.h"
#include "link/link_state.h"
#include "logos/logo_lists.h"
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
#include "transfer/transfer_state.h"
#include "workflows/reset_state.h"
#include "workflows/startup.h"

namespace stampa {
namespace {

using Bytes = std::vector<unsigned char>;

struct Hostile {
    std::string name;
    Bytes bytes;
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
    std::vector<Hostile> c = {
        {"huge-mono-claimed", test::BmpHeader(8184, 2304, 1)},
        {"huge-rgb-claimed", test::BmpHeader(8184, 2304, 24)},
        {"enormous", test::BmpHeader(100000, 100000, 24)},
        {"width-int-max", test::BmpHeader(INT32_MAX, 1, 1)},
        {"height-int-min", test::BmpHeader(8, INT32_MIN, 24)},
        {"width-negative", test::BmpHeader(-8, 8, 1)},
        {"width-zero", test::BmpHeader(0, 8, 24)},
        {"height-zero", test::BmpHeader(8, 0, 1)},
        {"offset-past-end-mono", WithField32(mono, 10, 1000000000)},
        {"offset-past-end-rgb", WithField32(rgb, 10, 0xFFFFFFF0)},
        {"size-field-huge", WithField32(mono, 34, 0xFFFFFFFF)},
        {"info-size-huge", WithField32(mono, 14, 0xFFFFFFF0)},
        {"bits-4", WithField16(mono, 28, 4)},
        {"bits-8", WithField16(mono, 28, 8)},
        {"bits-16", WithField16(rgb, 28, 16)},
        {"bits-32", WithField16(rgb, 28, 32)},
        {"rle8", WithField32(WithField16(mono, 28, 8), 30, 1)},
        {"rle4", WithField32(WithField16(mono, 28, 4), 30, 2)},
        {"rgb-compressed", WithField32(rgb, 30, 1)},
        {"mono-compressed", WithField32(mono, 30, 1)},
        {"top-down-mono", test::Bmp1(24, -10, ink)},
        {"not-bm", WithField16(mono, 0, 0x4241)},
        {"empty", {}},
    };
    for (std::size_t n = 0; n < 62; ++n) {
        c.push_back({"mono-cut-at-" + std::to_string(n),
                     Bytes(mono.begin(), mono.begin() + static_cast<long>(n))});
        c.push_back({"rgb-cut-at-" + std::to_string(n),
                     Bytes(rgb.begin(), rgb.begin() + static_cast<long>(n))});
    }
    return c;
}

std::set<std::string> FilesIn(const std::filesystem::path& folder) {
    std::set<std::string> names;
    for (const auto& e : std::filesystem::recursive_directory_iterator(folder))
        names.insert(e.path().string());
    return names;
}

TEST(HostileFiles, RefusedOrHandledAndNothingWrittenElsewhere) {
    ResetProgramState();
    ASSERT_TRUE(BindPixmelt(PIXMELT_LIBRARY));
    SetDownloadPauses({std::chrono::milliseconds(0), std::chrono::milliseconds(0)});
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
        ResetProgramState();
        const std::string path = (inputs / (h.name + ".bmp")).string();
        test::WriteFileBytes(path, h.bytes);
        test::RecordingOperator op;
        test::ScriptedFileDialog dialog({path});
        CSelectPage select;
        select.OnOpen();
        const bool taken = SelectedCount == 1;
        std::string outcome = taken ? "taken"
                                    : "refused: " + (op.Texts().empty() ? std::string("(silent)")
                                                                        : op.Texts().back());
        if (taken) {
            CPreviewPage preview;
            preview.OnShow();
            preview.OnListClick(preview.List()->topLevelItem(0));
            preview.findChild<QRadioButton*>("1072")->click();
            preview.OnListClick(preview.List()->topLevelItem(0));
            // Download through an in-process link.
            auto link = test::ConnectFake(kUsbLink);
            PortConfigured = true;
            test::RecordingDownloadPage page(kFlashMemory);
            StartDownload(page);
            ASSERT_TRUE(WaitForDownload(std::chrono::seconds(30)));
            outcome +=
                FlashDownloaded ? ", downloaded" : ", download refused: " + op.Texts().back();
            PortClose(PortHandle);
        }
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
    SetDownloadPauses({});
    ResetProgramState();
}

}  // namespace
}  // namespace stampa
