// stampa-cli: Stampa's jobs from a shell — convert, download, print, list.
#include <CLI/CLI.hpp>
#include <algorithm>
#include <map>
#include <sstream>

#include "cli/cli_io.h"
#include "cli/commands.h"
#include "cli/link_argument.h"
#include "common/messages.h"
#include "protocol/commands.h"
#include "transfer/job_pages.h"
#include "workflows/startup.h"

namespace {

using stampa::cli::kUsage;

const std::map<std::string, int> kMethods = {
    {"threshold", 0}, {"m3", 1}, {"m4", 2}, {"error", 3}, {"none", -1}};
const std::map<std::string, stampa::Memory> kMemories = {
    {"flash", stampa::kFlashMemory}, {"ram", stampa::kRamMemory}, {"nv", stampa::kNvMemory}};
const std::map<std::string, int> kScales = {
    {"normal", 0}, {"double-width", 1}, {"double-height", 2}, {"double", 3}};

// "all" or "1,3,5".
bool ParseLogoNumbers(const std::string& text, std::vector<int>& numbers) {
    numbers.clear();
    if (text == "all")
        return true;
    std::stringstream s(text);
    std::string item;
    while (std::getline(s, item, ',')) {
        try {
            std::size_t used = 0;
            numbers.push_back(std::stoi(item, &used));
            if (used != item.size())
                return false;
        } catch (...) {
            return false;
        }
    }
    return !numbers.empty();
}

// The end of --help (and of the man page, made from it): examples, the
// environment, the files and the exit status.
constexpr const char* kHelpFooter = R"HELP(
Examples:
  stampa-cli download --link serial:COM1 --memory flash --yes shop.png offer.png

  stampa-cli print --link usb:1 --memory flash --logos all --label

  stampa-cli status --link tcp:192.0.2.10 --json

  A fleet: download to every printer of printers.txt (an address a line), then
  name those that failed:

  links=(); while read -r h; do links+=(--link "tcp:$h"); done < printers.txt

  stampa-cli download "${links[@]}" --memory nv --yes --json shop.png offer.png |
  jq -r 'select(.ok | not) | "\(.link): \(.message) \(.reason // "")"'

Environment:
  STAMPA_LANG      zh or en: the language of the printer's messages
  XDG_CONFIG_HOME  where the serial ports' devices are named (stampa/ports/com1)

Files:
  Stampa.ini       in the current folder: the models, the default one, their profiles
  MODEL, MODEL.nv  in the current folder: what was downloaded to the model's FLASH and
                   NV graphics (the file named after the model, as RP-820)

Exit status:
  0 done, 1 refused (limits, no logos, Cancel, an unreadable picture), 2 usage
  error, 3 communication failure (with many printers: any of them failed).
)HELP";

bool AllKeyNumbers(const std::vector<int>& numbers) {
    return std::all_of(numbers.begin(), numbers.end(),
                       [](int n) { return n >= 1 && n <= stampa::kMaxNvNumber; });
}

}  // namespace

int main(int argc, char** argv) {
    stampa::cli::PrepareTerminal();
    stampa::ChooseLanguageAtStart();
    CLI::App app{"stampa-cli: load logos into ESC/POS receipt printers from a shell", "stampa-cli"};
    app.require_subcommand(1);
    app.set_help_all_flag("--help-all", "Help for every command");
    app.set_version_flag("--version", std::string("stampa-cli ") + STAMPA_VERSION_TEXT);

    stampa::cli::ConvertOptions convert;
    auto* convertCmd = app.add_subcommand(
        "convert", "Convert a 24-bit BMP to a 1-bit BMP beside it (prints its path)");
    convertCmd->add_option("input", convert.input, "The BMP file")->required();
    convertCmd
        ->add_option("--method", convert.method,
                     "threshold, m3 (Dither M3), m4 (Dither M4), error, none")
        ->transform(CLI::CheckedTransformer(kMethods, CLI::ignore_case))
        ->option_text("METHOD (m3)");
    convertCmd->add_option("--contrast", convert.contrast, "From -100 to 100")
        ->check(CLI::Range(-100, 100))
        ->option_text("N");
    convertCmd->add_option("--brightness", convert.brightness, "From -100 to 100")
        ->check(CLI::Range(-100, 100))
        ->option_text("N");
    convertCmd->add_flag("--fit-width", convert.fitWidth,
                         "Scale a logo wider than the paper down to its printable dots first");
    convertCmd->add_option("--model", convert.model,
                           "Printer model whose paper (default: Stampa.ini's, or RP-820)");
    convertCmd->add_option("--profile", convert.profile,
                           "Printer profile (see `profiles`) instead of the model's");

    std::vector<std::string> linkTexts;  // several: every printer at once
    stampa::cli::DownloadOptions download;
    auto* downloadCmd = app.add_subcommand(
        "download", "Download pictures into the printer's FLASH, RAM or NV graphics");
    downloadCmd
        ->add_option("--link", linkTexts,
                     "serial:COM1[:BAUD[:PARITY[:STOPBITS[:FLOW]]]], parallel:LPT1, usb:N, "
                     "driver:PRINTER, tcp:HOST[:PORT]; give it again for more printers at once")
        ->required()
        ->allow_extra_args(false);  // one printer each time: the files go where they stand
    downloadCmd->add_option("--memory", download.memory, "flash, ram or nv (NV graphics)")
        ->transform(CLI::CheckedTransformer(kMemories, CLI::ignore_case))
        ->option_text("MEMORY REQUIRED")
        ->required();
    downloadCmd->add_option("--model", download.model,
                            "Printer model (default: Stampa.ini's, or RP-820)");
    downloadCmd->add_flag("--yes", download.yes, "Confirm the download without asking");
    downloadCmd->add_flag("--replace-all", download.replaceAll,
                          "NV graphics: delete all of them first and define every logo, instead "
                          "of writing only what changed");
    downloadCmd->add_option("--profile", download.profile,
                            "Printer profile (see `profiles`) instead of the model's");
    downloadCmd->add_flag("--strict-width", download.strictWidth,
                          "Refuse a logo wider than the paper instead of warning");
    downloadCmd->add_flag("--force", download.force,
                          "NV graphics even where the printer's profile says it has none");
    downloadCmd->add_option("files", download.files, "Pictures (BMP, PNG, JPEG, GIF), in order")
        ->required();

    stampa::cli::PrintOptions print;
    std::string logos = "all";
    auto* printCmd =
        app.add_subcommand("print", "Print logos stored in the printer, or picture files directly");
    printCmd->add_option("--link", linkTexts, "As for download; more than once for many printers")
        ->required()
        ->allow_extra_args(false);
    auto* memoryOption =
        printCmd->add_option("--memory", print.memory, "flash, ram or nv (not with --direct)")
            ->transform(CLI::CheckedTransformer(kMemories, CLI::ignore_case))
            ->option_text("MEMORY");
    printCmd->add_flag("--direct", print.direct,
                       "Print the FILEs themselves (GS v 0), storing nothing in the printer");
    printCmd->add_option("--method", print.method, "--direct: threshold, m3 (default), m4, error")
        ->transform(CLI::CheckedTransformer(kMethods, CLI::ignore_case))
        ->option_text("METHOD");
    printCmd->add_option("files", print.files, "--direct: picture files, in order");
    printCmd
        ->add_option("--logos", logos,
                     "all, or numbers as listed: FLASH from 1, RAM from 0, NV the keys")
        ->capture_default_str();
    printCmd->add_option("--scale", print.scaling, "normal, double-width, double-height, double")
        ->transform(CLI::CheckedTransformer(kScales, CLI::ignore_case))
        ->option_text("SCALE");
    printCmd->add_flag("--label", print.label, "Print \"=============== LOGO n\" above each logo");
    printCmd->add_option("--model", print.model,
                         "Printer model (default: Stampa.ini's, or RP-820)");
    printCmd->add_option("--profile", print.profile,
                         "Printer profile (see `profiles`) instead of the model's");
    printCmd->add_flag("--strict-width", print.strictWidth,
                       "Refuse a logo printed wider than the paper instead of warning");

    stampa::cli::QueryOptions query;
    auto* statusCmd = app.add_subcommand(
        "status", "Ask the printer whether it is online, its cover closed and its paper there");
    statusCmd->add_option("--link", linkTexts, "As for download (one printer)")
        ->required()
        ->expected(1);

    stampa::cli::NvDeleteOptions nvDelete;
    std::string nvLogos;
    auto* nvCmd = app.add_subcommand("nv", "NV graphics stored in the printer");
    nvCmd->require_subcommand(1);
    auto* nvDeleteCmd = nvCmd->add_subcommand("delete", "Delete NV graphics from the printer");
    nvDeleteCmd->add_option("--link", linkTexts, "As for download (one printer)")
        ->required()
        ->expected(1);
    auto* nvAll = nvDeleteCmd->add_flag("--all", nvDelete.all, "Delete every NV graphic");
    nvDeleteCmd->add_option("--logos", nvLogos, "Key numbers as listed, like 3,5")->excludes(nvAll);
    nvDeleteCmd->add_option("--model", nvDelete.model,
                            "Printer model (default: Stampa.ini's, or RP-820)");
    nvDeleteCmd->add_flag("--yes", nvDelete.yes, "Confirm the delete without asking");

    auto* nvCapacityCmd =
        nvCmd->add_subcommand("capacity", "Ask the printer for its NV capacity and what is free");
    nvCapacityCmd->add_option("--link", linkTexts, "As for download (one printer)")
        ->required()
        ->expected(1);
    auto* nvListCmd = nvCmd->add_subcommand(
        "list", "Ask the printer which NV graphics it holds (key, and the name when known)");
    nvListCmd->add_option("--link", linkTexts, "As for download (one printer)")
        ->required()
        ->expected(1);
    nvListCmd->add_option("--model", query.model,
                          "Printer model whose NV list names the logos (default: Stampa.ini's)");

    std::string listModel;
    auto* listCmd = app.add_subcommand(
        "list", "What is known to be stored in FLASH and NV graphics for a model");
    listCmd->add_option("--model", listModel, "Printer model (default: Stampa.ini's, or RP-820)");

    auto* portsCmd =
        app.add_subcommand("ports", "Serial port mapping, USB devices present, spooler printers");

    // --json: one JSON object per printer (or for the list) on stdout.
    bool listJson = false, portsJson = false;
    constexpr const char* kJsonHelp = "One JSON object per printer on stdout, for scripts";
    downloadCmd->add_flag("--json", download.json, kJsonHelp);
    printCmd->add_flag("--json", print.json, kJsonHelp);
    for (CLI::App* question : {statusCmd, nvCapacityCmd, nvListCmd})
        question->add_flag("--json", query.json, kJsonHelp);
    listCmd->add_flag("--json", listJson, "The lists as one JSON object on stdout");
    portsCmd->add_flag("--json", portsJson, "The ports as one JSON object on stdout");
    auto* profilesCmd = app.add_subcommand(
        "profiles", "Printer profiles: id, vendor, paper width in dots and mm, image commands");

    app.footer(kHelpFooter);  // after the commands, which would repeat it

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        const int status = app.exit(e);  // prints help or the error
        return status == 0 ? 0 : kUsage;
    }

    if (*convertCmd)
        return stampa::cli::RunConvert(convert);
    if (*listCmd)
        return stampa::cli::RunList(listModel, listJson);
    if (*portsCmd)
        return stampa::cli::RunPorts(portsJson);
    if (*profilesCmd)
        return stampa::cli::RunProfiles();

    std::vector<stampa::LinkSettings> links;
    for (const std::string& text : linkTexts) {
        std::string error;
        const auto link = stampa::cli::ParseLinkArgument(text, error);
        if (!link) {
            std::fprintf(stderr, "stampa-cli: %s\n", error.c_str());
            return kUsage;
        }
        links.push_back(*link);
    }
    if (*statusCmd || *nvCapacityCmd || *nvListCmd) {
        query.link = links.front();
        query.linkName = linkTexts.front();
        if (*statusCmd)
            return stampa::cli::RunStatus(query);
        return *nvCapacityCmd ? stampa::cli::RunNvCapacity(query) : stampa::cli::RunNvList(query);
    }
    if (*nvCmd) {
        if (!nvDelete.all && (!ParseLogoNumbers(nvLogos, nvDelete.numbers) ||
                              nvDelete.numbers.empty() || !AllKeyNumbers(nvDelete.numbers))) {
            std::fprintf(stderr, "stampa-cli: %s\n", stampa::msg::kCliBadNvNumbers);
            return kUsage;
        }
        nvDelete.link = links.front();
        return stampa::cli::RunNvDelete(nvDelete);
    }
    if (*downloadCmd) {
        download.links = links;
        download.linkNames = linkTexts;
        return stampa::cli::RunDownload(download);
    }
    print.links = links;
    print.linkNames = linkTexts;
    // Stored logos need their memory; a direct print needs its files.
    if (print.direct ? print.files.empty() : (memoryOption->count() == 0 || !print.files.empty())) {
        std::fprintf(stderr, "stampa-cli: %s\n", stampa::msg::kCliPrintNeedsMemoryOrDirect);
        return kUsage;
    }
    if (!ParseLogoNumbers(logos, print.logos)) {
        std::fprintf(stderr, "stampa-cli: %s\n", stampa::msg::kCliBadLogoList);
        return kUsage;
    }
    return stampa::cli::RunPrint(print);
}
