// The program's own command line, read before its window opens (so --help
// and --version need no display): the working folder, help and version.
// Everything else on the line is left to Qt (-platform, -style, ...).
#pragma once

#include <string>
#include <vector>

namespace stampa {

struct StartOptions {
    bool help = false;     // -h, --help
    bool version = false;  // -v, --version
    std::string folder;    // --folder DIR: the working folder; empty: where started
    std::string error;     // a refusal to show instead of starting, empty when none
};

// The arguments after the program's name.
StartOptions ParseStartOptions(const std::vector<std::string>& arguments);

// `stampa --help` in the chosen language: usage, options, environment, files.
std::string StartHelpText();

// Makes `folder` the working directory, creating it when missing; a leading
// "~/" stands for the home folder (a desktop entry has no shell to expand it).
// False with the reason in `error` when it cannot be made or entered.
bool EnterWorkingFolder(const std::string& folder, std::string& error);

}  // namespace stampa
