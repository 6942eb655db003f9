// The configuration file "Stampa.ini": the printer models offered, the name
// that identifies the maker's printer queues, and the network printer's
// address and port. Read only, with the private
// profile rules: section and key names in any case, a missing key takes its
// default, numbers are read from the leading digits of the value.
#pragma once

#include <string>
#include <vector>

namespace stampa {

inline constexpr const char* kConfigFileName = "Stampa.ini";
inline constexpr int kMaxModels = 100;

struct PrinterModelEntry {
    std::string name;     // [Pos<i>] Name, default "RP-820"
    int width = 1;        // [Pos<i>] Width: the paper's dots; 1 (the default) or less: not given
    std::string profile;  // [Pos<i>] Profile: a printer profile's id (printer_profiles.h)
};

struct Configuration {
    int number = 1;                         // [Common] Number
    int defaultNumber = 1;                  // [Common] DefaultNumber (1-based)
    std::string baseDriverName = "RP-820";  // [Common] BaseDriverName
    std::vector<PrinterModelEntry> models;  // [Pos1] .. [Pos<Number>], at most 100
    std::string networkHost;                // [Network] Host: the network printer's address
    int networkPort = 9100;                 // [Network] Port
    std::string language;                   // [Common] Language: "zh", "en" or empty

    // Position in `models` of the model selected at start: DefaultNumber - 1,
    // or the first model when DefaultNumber lies outside 1..Number.
    int DefaultModelIndex() const;
    std::string DefaultModel() const;
};

// Reads the file; a missing or unreadable file gives every default (one model "RP-820").
Configuration ReadConfiguration(const std::string& path);

// "Stampa.ini" in the given folder.
std::string ConfigurationPath(const std::string& folder);

// "Stampa.ini" of the working directory, read.
Configuration ReadWorkingConfiguration();

// `model`, or the working directory's default model when it is empty.
std::string ModelOrDefault(const std::string& model);

}  // namespace stampa
