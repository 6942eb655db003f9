// stampa-vprinter: an ESC/POS receipt printer on the other end of every link
// Stampa offers, which stores logos and renders what it prints to PNG.
#include <CLI/CLI.hpp>
#include <QGuiApplication>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "common/printer_profiles.h"
#include "vprinter/flash_state.h"
#include "vprinter/printer.h"
#include "vprinter/render.h"
#include "vprinter/server.h"

namespace {

bool WriteLogoPng(const std::string& outDir, const std::string& name,
                  const vprinter::RasterLogo& logo) {
    if (!vprinter::RenderLogo(logo).save(QString::fromStdString(outDir + "/" + name))) {
        std::fprintf(stderr, "stampa-vprinter: cannot write %s/%s\n", outDir.c_str(), name.c_str());
        return false;
    }
    std::printf("%s: %d x %d dots\n", name.c_str(), logo.WidthDots(), logo.HeightDots());
    return true;
}

// Every stored logo as a PNG: flash-NNN.png by number, nv-KK.png by key.
int ShowFlash(const std::string& statePath, const std::string& outDir) {
    const auto logos = vprinter::LoadStoredLogos(statePath);
    if (!logos) {
        std::fprintf(stderr, "stampa-vprinter: %s is not a FLASH state file\n", statePath.c_str());
        return 1;
    }
    std::filesystem::create_directories(outDir);
    for (std::size_t i = 0; i < logos->flash.size(); ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "flash-%03zu.png", i + 1);
        if (!WriteLogoPng(outDir, name, logos->flash[i]))
            return 1;
    }
    for (const auto& [key, graphic] : logos->nv) {
        std::string safeKey;
        for (char c : key)
            safeKey += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
        if (!WriteLogoPng(outDir, "nv-" + safeKey + ".png", graphic.ToLogo()))
            return 1;
    }
    return 0;
}

int Decode(const std::string& streamPath, const std::string& outDir, const std::string& statePath,
           const vprinter::PrinterOptions& printerOptions) {
    std::ifstream in(streamPath, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "stampa-vprinter: cannot read %s\n", streamPath.c_str());
        return 1;
    }
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in),
                                          std::istreambuf_iterator<char>()};
    vprinter::PrinterState state(printerOptions, statePath);
    if (!state.LoadFlash()) {
        std::fprintf(stderr, "stampa-vprinter: %s is not a FLASH state file\n", statePath.c_str());
        return 1;
    }
    std::filesystem::create_directories(outDir);
    int number = 0;
    bool ok = true;
    vprinter::Session session(
        state, [](const std::vector<std::uint8_t>&) {},
        [&](vprinter::Receipt&& r) {
            ok = vprinter::WriteReceiptFiles(outDir, ++number, r, printerOptions.paperWidth) && ok;
        },
        [](const std::string& line) { std::fprintf(stderr, "%s\n", line.c_str()); });
    session.Feed(bytes.data(), bytes.size());
    session.End();
    std::printf("%d receipts written to %s\n", number, outDir.c_str());
    return ok ? 0 : 1;
}

}  // namespace

namespace {

// The printer a profile describes: its paper width where known, and no NV
// graphics where it says it has none. False, said, for an unknown profile.
bool UseProfile(const std::string& id, vprinter::PrinterOptions& printer) {
    const stampa::ProfileDatabase profiles = stampa::ProgramProfiles();
    const stampa::PrinterProfile* p = profiles.Find(id);
    if (p == nullptr) {
        std::fprintf(stderr, "stampa-vprinter: no printer profile %s %s\n", id.c_str(),
                     profiles.error.c_str());
        return false;
    }
    if (p->widthDots)
        printer.paperWidth = *p->widthDots;
    printer.noGraphics = p->graphics == false;
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");  // renders to files; needs no display
    }
    QGuiApplication app(argc, argv);

    CLI::App cli{"stampa-vprinter: a virtual ESC/POS receipt printer for Stampa",
                 "stampa-vprinter"};
    cli.require_subcommand(0, 1);
    cli.set_version_flag("--version", std::string("stampa-vprinter ") + STAMPA_VERSION_TEXT);
    vprinter::ServerOptions options;
    cli.add_option("--serial", options.serialLinks,
                   "Link PATH to a pseudo-terminal (a serial printer)");
    cli.add_option("--usb", options.usbDevices, "Create a FIFO at DIR/lpN (USB printer device N)");
    cli.add_option("--tcp", options.tcpListen,
                   "Raw print server on [HOST:]PORT (loopback by default)");
    cli.add_option("--lpt-sim", options.lptSims,
                   "Create a simulated parallel port at FILE (DLPORTIO_SIM)");
    cli.add_option("--state", options.statePath,
                   "File keeping the FLASH logos and NV graphics between runs");
    cli.add_option("--out", options.outDir, "Folder for receipt-NNNN.png and .txt")
        ->capture_default_str();
    cli.add_option("--paper-width", options.printer.paperWidth,
                   "Paper width in dots (576, or 384 for 58 mm)")
        ->capture_default_str()
        ->check(CLI::Range(64, 4096));
    std::string profile;
    cli.add_option("--profile", profile,
                   "A printer profile (stampa-cli profiles): its paper width; no GS ( L where it "
                   "has no NV graphics");
    cli.add_flag("--no-status", options.printer.noStatus, "Never answer a question");
    cli.add_flag("--paper-out", options.printer.paperOut, "Report the paper end");
    cli.add_flag("--paper-near-end", options.printer.paperNearEnd, "Report the paper near its end");
    cli.add_flag("--cover-open", options.printer.coverOpen, "Report the cover open");
    cli.add_flag("--offline", options.printer.offline, "Report the printer offline");
    cli.add_option("--nv-capacity", options.printer.nvCapacity,
                   "Bytes of NV graphics the printer holds")
        ->capture_default_str()
        ->check(CLI::Range(0LL, 1LL << 40));
    cli.add_option("--stall-after", options.stallAfter, "Stop reading a connection after N bytes");
    cli.add_option("--drop-after", options.dropAfter, "Close a connection after N bytes");
    cli.add_option("--capture", options.capturePath, "Append every received byte to FILE");

    std::string showState, showOut = ".";
    auto* show = cli.add_subcommand(
        "show-flash", "Write every stored logo as flash-NNN.png and every NV graphic as nv-KK.png");
    show->add_option("--state", showState, "FLASH state file")->required();
    show->add_option("--out", showOut, "Output folder")->capture_default_str();

    std::string stream, decodeOut = ".", decodeState;
    auto* decode = cli.add_subcommand("decode", "Render a captured byte stream offline");
    decode->add_option("stream", stream, "Captured stream")->required();
    decode->add_option("--out", decodeOut, "Output folder")->capture_default_str();
    decode->add_option("--state", decodeState, "FLASH state file to start from and update");
    decode->add_option("--paper-width", options.printer.paperWidth, "Paper width in dots");

    CLI11_PARSE(cli, argc, argv);
    if (!profile.empty() && !UseProfile(profile, options.printer))
        return 2;
    if (show->parsed())
        return ShowFlash(showState, showOut);
    if (decode->parsed())
        return Decode(stream, decodeOut, decodeState, options.printer);
    if (options.serialLinks.empty() && options.usbDevices.empty() && options.tcpListen.empty() &&
        options.lptSims.empty()) {
        std::fprintf(stderr,
                     "stampa-vprinter: give at least one of --serial, --usb, --tcp, --lpt-sim\n");
        return 2;
    }
    return vprinter::RunServer(options);
}
