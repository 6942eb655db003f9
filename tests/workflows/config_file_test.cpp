#include "workflows/config_file.h"

#include <gtest/gtest.h>

#include <fstream>

#include "support/temp_dir.h"

namespace stampa {
namespace {

using test::TempDir;

Configuration Read(const TempDir& dir, const std::string& text) {
    std::ofstream(dir.File("Stampa.ini")) << text;
    return ReadConfiguration(dir.File("Stampa.ini"));
}

std::vector<std::string> Names(const Configuration& c) {
    std::vector<std::string> names;
    for (const auto& m : c.models)
        names.push_back(m.name);
    return names;
}

TEST(ConfigurationFile, MissingFileGivesTheDefaults) {
    TempDir dir;
    const Configuration c = ReadConfiguration(dir.File("Stampa.ini"));
    EXPECT_EQ(Names(c), std::vector<std::string>{"RP-820"});
    EXPECT_EQ(c.baseDriverName, "RP-820");
    EXPECT_EQ(c.DefaultModel(), "RP-820");
    EXPECT_EQ(c.models[0].width, 1);
}

TEST(ConfigurationFile, ModelsInFileOrderAndTheDefaultSelected) {
    TempDir dir;
    const Configuration c = Read(dir,
                                 "[Common]\nNumber=3\nDefaultNumber=2\nBaseDriverName=RP-8\n"
                                 "[Pos1]\nName=RP-810\nWidth=384\n"
                                 "[pos2]\nname = RP-820 \nWIDTH=576\n"
                                 "[POS3]\nName=\"TM 88\"\n");
    EXPECT_EQ(Names(c), (std::vector<std::string>{"RP-810", "RP-820", "TM 88"}));
    EXPECT_EQ(c.DefaultModelIndex(), 1);
    EXPECT_EQ(c.DefaultModel(), "RP-820");
    EXPECT_EQ(c.baseDriverName, "RP-8");
    EXPECT_EQ(c.models[0].width, 384);
    EXPECT_EQ(c.models[1].width, 576);
    EXPECT_EQ(c.models[2].width, 1) << "missing key: its default";
}

TEST(ConfigurationFile, OutOfRangeNumbersAreHandled) {
    TempDir dir;
    std::string text = "[Common]\nNumber=150\nDefaultNumber=120\n";
    for (int i = 1; i <= 150; ++i)
        text += "[Pos" + std::to_string(i) + "]\nName=M" + std::to_string(i) + "\n";
    const Configuration many = Read(dir, text);
    EXPECT_EQ(many.models.size(), 100u) << "the first 100 are listed";
    EXPECT_EQ(many.DefaultModel(), "M1") << "a default outside the list selects the first";
    const Configuration missing = Read(dir, "[Common]\nNumber=2\n[Pos1]\nName=A\n");
    EXPECT_EQ(Names(missing), (std::vector<std::string>{"A", "RP-820"}));
    EXPECT_EQ(Read(dir, "[Common]\nNumber=0\n").DefaultModel(), "");
}

// The file reads the same through inih (Linux) and the private profile
// functions (Windows): comments, a key given twice, the other sections' keys.
TEST(ConfigurationFile, EveryReaderTakesTheSameValues) {
    TempDir dir;
    const Configuration c = Read(dir,
                                 "; the shop's printers\n"
                                 "[Common]\nNumber=1\nBaseDriverName=TM-\nLanguage=en\n"
                                 "BaseDriverName=RP-\n"
                                 "[Pos1]\n; Name=Commented\nName=TM-T88\nWidth=512\n"
                                 "[Network]\nHost=127.0.0.1\nPort=9101\n");
    EXPECT_EQ(c.baseDriverName, "TM-") << "the first occurrence of a key counts";
    EXPECT_EQ(c.language, "en");
    EXPECT_EQ(Names(c), (std::vector<std::string>{"TM-T88"}));
    EXPECT_EQ(c.models[0].width, 512);
    EXPECT_EQ(c.networkHost, "127.0.0.1");
    EXPECT_EQ(c.networkPort, 9101);
}

}  // namespace
}  // namespace stampa
