// Printer profiles: the database's facts as the program reads them (unknown
// values, Stampa.ini's Profile= and Width=, a file that cannot be read) and
// the paper's width against the logos.
#include "workflows/printer_profiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "logos/bitmap_reader.h"
#include "logos/fit_width.h"
#include "support/bmp_files.h"
#include "support/temp_dir.h"
#include "transfer/paper_width.h"

namespace stampa {
namespace {

constexpr const char* kTwoProfiles = R"({"profiles": [
  {"id": "TM-T88V", "vendor": "Epson", "name": "TM-T88V", "widthMm": 80, "widthDots": 512,
   "dpi": 180, "graphics": true, "bitImageRaster": true, "bitImageColumn": true},
  {"id": "RP326", "vendor": "Rongta", "name": "RP326", "widthMm": null, "widthDots": null,
   "dpi": 203, "graphics": false, "bitImageRaster": true, "bitImageColumn": true},
  {"vendor": "nameless"}, {"id": "ZERO", "widthDots": 0, "graphics": "Unknown"}]})";

TEST(PrinterProfiles, DatabaseFactsUnknownValuesAndBadFiles) {
    const ProfileDatabase db = ParseProfiles(kTwoProfiles);
    ASSERT_TRUE(db.error.empty()) << db.error;
    ASSERT_EQ(db.profiles.size(), 3u) << "a profile without an id is skipped";
    EXPECT_EQ(db.Find("TM-T88V")->widthDots, 512);
    EXPECT_EQ(db.Find("TM-T88V")->widthMm, 80.0);
    EXPECT_FALSE(db.Find("RP326")->widthDots.has_value()) << "null: not known";
    EXPECT_EQ(db.Find("RP326")->graphics, false);
    EXPECT_FALSE(db.Find("ZERO")->widthDots.has_value()) << "no paper is 0 dots wide";
    EXPECT_FALSE(db.Find("ZERO")->graphics.has_value()) << "a string is no answer";
    EXPECT_EQ(db.Find("TM-T20"), nullptr);

    test::TempDir dir;
    const ProfileDatabase missing = LoadProfiles(dir.File("nowhere.json"));
    EXPECT_TRUE(missing.profiles.empty());
    EXPECT_NE(missing.error.find(dir.File("nowhere.json")), std::string::npos) << missing.error;
    std::ofstream(dir.File("bad.json")) << "{\"profiles\": [";
    EXPECT_NE(LoadProfiles(dir.File("bad.json")).error.find("bad.json"), std::string::npos);

    const ProfileDatabase builtIn = BuiltInProfiles();
    EXPECT_TRUE(builtIn.error.empty());
    EXPECT_EQ(builtIn.Find("TM-T88V")->widthDots, 512) << "the database's own";
    EXPECT_EQ(builtIn.Find("RP-810")->widthDots, 384) << "Stampa's own models";
}

TEST(PrinterProfiles, TheModelsPaper) {
    const ProfileDatabase db = ParseProfiles(kTwoProfiles);
    Configuration config;
    config.models = {{"Shop", 1, "TM-T88V"},
                     {"Wide", 600, "TM-T88V"},
                     {"TM-T88V", 1, ""},
                     {"Odd", 1, "RP326"},
                     {"Own", 1, ""}};
    const struct {
        const char* model;
        const char* profile;  // stampa-cli --profile
        std::optional<int> dots;
        std::optional<bool> graphics;
    } cases[] = {
        {"Shop", "", 512, true},           // Profile= names a database profile
        {"Wide", "", 600, true},           // Width= overrides its dots
        {"TM-T88V", "", 512, true},        // a model named as a profile
        {"Odd", "", std::nullopt, false},  // width unknown: no check
        {"Own", "", std::nullopt, std::nullopt},
        {"Unlisted", "", std::nullopt, std::nullopt},
        {"Wide", "RP326", std::nullopt, false},  // --profile, without Stampa.ini's Width=
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.model) + " " + c.profile);
        const ModelPaper paper = PaperOfModel(db, config, c.model, c.profile);
        EXPECT_EQ(paper.dots, c.dots);
        EXPECT_EQ(paper.graphics, c.graphics);
    }
}

TEST(PaperWidth, WiderLogosAtTheirPrintedWidth) {
    LogoStore store;
    std::vector<LogoEntry> logos(2);
    logos[0].name = "wide.bmp";
    logos[0].width = 600;
    logos[1].name = "half.bmp";
    logos[1].width = 300;
    EXPECT_TRUE(WiderThanPaper(store, logos).empty()) << "paper not known: no check";
    store.PaperDots = 512;
    ASSERT_EQ(WiderThanPaper(store, logos).size(), 1u);
    EXPECT_EQ(WiderThanPaper(store, logos)[0].width, 600);
    EXPECT_EQ(WiderThanPaper(store, logos, 2).size(), 2u) << "double width doubles each";
    EXPECT_EQ(WiderThanPaperText(store, 600), "比纸宽：600 > 512 点");
    EXPECT_EQ(WiderThanPaperText(store, 512), "");
}

TEST(FitToWidth, ScalesDownInProportionAndNeverUp) {
    test::TempDir dir;
    test::WriteFileBytes(dir.File("wide.bmp"),
                         test::Bmp1(600, 30, [](int x, int) { return x < 300; }));
    test::WriteFileBytes(dir.File("narrow.bmp"), test::Bmp1(300, 8, [](int, int) { return true; }));
    const FitOutcome wide = FitToWidth(dir.File("wide.bmp"), 512);
    ASSERT_EQ(wide.result, FitResult::Scaled);
    EXPECT_EQ(wide.path, dir.File("wide-512dots.bmp"));
    const auto header = ReadBitmapHeader(wide.path);
    ASSERT_TRUE(header);
    EXPECT_EQ(header->width, 512);
    EXPECT_EQ(header->height, 26);  // 30 x 512 / 600, rounded
    EXPECT_EQ(header->bitCount, 24);
    EXPECT_EQ(FitToWidth(dir.File("narrow.bmp"), 512).result, FitResult::Fits);
    EXPECT_FALSE(std::filesystem::exists(dir.File("narrow-512dots.bmp")));
    EXPECT_EQ(FitToWidth(dir.File("nowhere.bmp"), 512).result, FitResult::Unreadable);
}

}  // namespace
}  // namespace stampa
