// The commands of stampa-cli. Each returns the exit status.
#pragma once

#include <string>
#include <vector>

#include "link/link_open.h"
#include "transfer/memory.h"

namespace stampa::cli {

struct ConvertOptions {
    std::string input;
    int method = 1;
    int contrast = 0;
    int brightness = 0;
    bool fitWidth = false;  // scale a logo wider than the paper down to it first
    std::string model;      // whose paper (default: Stampa.ini's)
    std::string profile;    // a printer profile's id instead of the model's
};

struct DownloadOptions {
    std::vector<LinkSettings> links;  // more than one: every printer at once
    std::vector<std::string> linkNames;
    stampa::Memory memory = kFlashMemory;
    std::string model;  // empty: the configuration's default model
    bool yes = false;
    bool replaceAll = false;  // NV graphics: delete all first, define every logo
    std::vector<std::string> files;
    std::string profile;       // a printer profile's id instead of the model's
    bool strictWidth = false;  // refuse a logo wider than the paper instead of asking
    bool force = false;        // NV graphics even where the profile says the printer has none
    bool json = false;         // one JSON object per printer on stdout
};

struct PrintOptions {
    std::vector<LinkSettings> links;
    std::vector<std::string> linkNames;
    stampa::Memory memory = kFlashMemory;
    std::string model;
    std::vector<int> logos;  // the numbers the print page shows; empty: all
    int scaling = 0;
    bool label = false;
    std::string profile;
    bool strictWidth = false;
    // --direct: the files printed with GS v 0, converted with `method` (Dither
    // M3 by default); nothing stored in the printer.
    bool direct = false;
    std::vector<std::string> files;
    int method = 1;
    bool json = false;
};

struct NvDeleteOptions {
    LinkSettings link;
    std::string model;
    bool all = false;
    std::vector<int> numbers;  // the NV list's key numbers
    bool yes = false;
};

// A question to one printer.
struct QueryOptions {
    LinkSettings link;
    std::string linkName;  // as given, for --json
    std::string model;     // names the NV list whose names `nv list` shows
    bool json = false;
};

int RunConvert(const ConvertOptions& options);
int RunDownload(const DownloadOptions& options);
int RunPrint(const PrintOptions& options);
int RunNvDelete(const NvDeleteOptions& options);
int RunList(const std::string& model, bool json = false);
int RunStatus(const QueryOptions& options);
int RunNvCapacity(const QueryOptions& options);
int RunNvList(const QueryOptions& options);
int RunPorts(bool json = false);
// One line a printer profile: id, vendor, width in dots and mm, the three image features.
int RunProfiles();

}  // namespace stampa::cli
