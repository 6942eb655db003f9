#include "workflows/start_options.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "common/language.h"
#include "common/messages.h"
#include "common/text_format.h"

namespace stampa {

StartOptions ParseStartOptions(const std::vector<std::string>& arguments) {
    StartOptions options;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "-h" || argument == "--help") {
            options.help = true;
        } else if (argument == "-v" || argument == "--version") {
            options.version = true;
        } else if (argument == "--folder" || argument.rfind("--folder=", 0) == 0) {
            const bool joined = argument.size() > 8;
            const bool next = !joined && i + 1 < arguments.size();
            options.folder = joined ? argument.substr(9) : next ? arguments[++i] : "";
            if (options.folder.empty()) {
                options.error = Localize(msg::kStartFolderMissing);
                return options;
            }
        }
    }
    return options;
}

namespace {

// Columns a UTF-8 text takes on a terminal: Chinese characters take two.
std::size_t TerminalColumns(const std::string& text) {
    std::size_t columns = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if ((byte & 0xC0) == 0x80)
            continue;  // a continuation byte
        // Three-byte sequences from U+2E80 (E2 BA 80) on are the wide scripts.
        const bool wide = byte >= 0xE3 || (byte == 0xE2 && i + 1 < text.size() &&
                                           static_cast<unsigned char>(text[i + 1]) >= 0xBA);
        columns += wide ? 2 : 1;
    }
    return columns;
}

// One line of a list: the name in a column of its own, then what it is.
void AddEntry(std::string& text, const char* name, const char* what) {
    std::string line = "  " + std::string(Localize(name));
    constexpr std::size_t kColumn = 32;
    const std::size_t used = TerminalColumns(line);
    line += used < kColumn ? std::string(kColumn - used, ' ') : std::string("  ");
    text += line + Localize(what) + "\n";
}

}  // namespace

std::string StartHelpText() {
    std::string text = std::string(Localize(msg::kStartUsage)) + "\n";
    text += std::string(Localize(msg::kStartSummary)) + "\n\n";
    text += std::string(Localize(msg::kStartOptionsHeading)) + "\n";
    AddEntry(text, msg::kStartFolderArgument, msg::kStartFolderOption);
    AddEntry(text, "-h, --help", msg::kStartHelpOption);
    AddEntry(text, "-v, --version", msg::kStartVersionOption);
    text += "  " + std::string(Localize(msg::kStartQtOptions)) + "\n\n";
    text += std::string(Localize(msg::kStartEnvironmentHeading)) + "\n";
    AddEntry(text, "STAMPA_LANG", msg::kStartLanguageVariable);
    AddEntry(text, "QT_QPA_PLATFORM", msg::kStartPlatformVariable);
    text += "\n" + std::string(Localize(msg::kStartFilesHeading)) + "\n";
    AddEntry(text, "Stampa.ini", msg::kStartIniFile);
    AddEntry(text, "~/.config/Stampa/Stampa.conf", msg::kStartSettingsFile);
    AddEntry(text, "~/.config/stampa/ports/", msg::kStartPortsFile);
    return text;
}

bool EnterWorkingFolder(const std::string& folder, std::string& error) {
    std::filesystem::path path = folder;
    const char* home = std::getenv("HOME");
    if ((folder == "~" || folder.rfind("~/", 0) == 0) && home != nullptr && *home != '\0') {
        path = std::filesystem::path(home) / folder.substr(folder.size() > 1 ? 2 : 1);
    }
    std::error_code failure;
    std::filesystem::create_directories(path, failure);
    if (!failure) {
        std::filesystem::current_path(path, failure);
    }
    if (failure) {
        error =
            FormatText(msg::kStartFolderFailed, path.string().c_str(), failure.message().c_str());
        return false;
    }
    return true;
}

}  // namespace stampa
