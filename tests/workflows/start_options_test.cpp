// The program's own command line (--folder, --help, --version) and where an
// installed program finds its libraries.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "common/language.h"
#include "common/library_loader.h"
#include "support/environment.h"
#include "support/temp_dir.h"
#include "workflows/start_options.h"

namespace stampa {
namespace {

struct StartCase {
    std::vector<std::string> arguments;
    bool help, version;
    std::string folder;
    bool refused;
};

TEST(StartOptions, ReadsItsOwnOptionsAndLeavesTheRestToQt) {
    SetLanguage(Language::English);
    const StartCase cases[] = {
        {{}, false, false, "", false},
        {{"--help"}, true, false, "", false},
        {{"-h"}, true, false, "", false},
        {{"-v"}, false, true, "", false},
        {{"-platform", "offscreen", "--version"}, false, true, "", false},
        {{"--folder", "~/Stampa"}, false, false, "~/Stampa", false},
        {{"--folder=/srv/logos", "-style", "fusion"}, false, false, "/srv/logos", false},
        {{"--folder"}, false, false, "", true},
        {{"--folder="}, false, false, "", true},
    };
    for (const StartCase& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.arguments));
        const StartOptions options = ParseStartOptions(c.arguments);
        EXPECT_EQ(options.help, c.help);
        EXPECT_EQ(options.version, c.version);
        EXPECT_EQ(options.folder, c.folder);
        EXPECT_EQ(!options.error.empty(), c.refused);
    }
    EXPECT_EQ(ParseStartOptions({"--folder"}).error, "--folder needs a folder");
}

TEST(StartOptions, HelpNamesEveryOptionInEitherLanguage) {
    for (const Language language : {Language::English, Language::Chinese}) {
        SetLanguage(language);
        const std::string help = StartHelpText();
        for (const char* name : {"--folder", "--help", "--version", "STAMPA_LANG", "Stampa.ini"})
            EXPECT_NE(help.find(name), std::string::npos) << name;
        // help2man takes the usage line and the option lists from these headings.
        const char* usage = language == Language::English ? "Usage: stampa" : "用法：stampa";
        EXPECT_EQ(help.rfind(usage, 0), 0u) << help;
    }
    SetLanguage(Language::Chinese);
    // Names line up after Chinese ones, which take two columns a character.
    const std::string help = StartHelpText();
    const auto column = [&](const std::string& name) {
        const std::size_t line = help.rfind('\n', help.find(name)) + 1;
        const std::size_t text = help.find_first_not_of(' ', help.find(name) + name.size());
        return help.substr(line, text - line);
    };
    EXPECT_EQ(column("--folder 目录").size() - std::string("目录").size() + 4,
              column("-h, --help").size());
}

TEST(StartOptions, WorkingFolderIsMadeAndEnteredWithTildeAsHome) {
    test::TempDir home;
    const auto started = std::filesystem::current_path();
    const char* oldHome = std::getenv("HOME");
    const std::string savedHome = oldHome != nullptr ? oldHome : "";
    test::SetEnvironment("HOME", home.Path().string());
    std::string error;
    EXPECT_TRUE(EnterWorkingFolder("~/Stampa/logos", error)) << error;
    EXPECT_EQ(std::filesystem::current_path(), home.Path() / "Stampa" / "logos");
    std::ofstream(home.Path() / "file") << "x";
    EXPECT_FALSE(EnterWorkingFolder((home.Path() / "file" / "below").string(), error));
    EXPECT_NE(error.find("file/below"), std::string::npos) << error;
    std::filesystem::current_path(started);
    test::SetEnvironment("HOME", savedHome);
}

TEST(LibraryFolders, InstalledProgramLooksInItsPrivateFolderAfterItsOwn) {
    const std::vector<std::string> expected = {"/usr/bin", "/usr/lib/stampa", "/home/tech"};
    EXPECT_EQ(LibraryFolders("/usr/bin", "/home/tech"), expected);
    EXPECT_EQ(LibraryFolders("", "/home/tech"), std::vector<std::string>{"/home/tech"});
}

}  // namespace
}  // namespace stampa
