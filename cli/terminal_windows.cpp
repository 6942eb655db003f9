#include <io.h>
#include <windows.h>

#include <cstdio>

#include "cli/cli_io.h"

namespace stampa::cli {

void PrepareTerminal() {
    SetConsoleOutputCP(CP_UTF8);
}

bool StdinIsTerminal() {
    return _isatty(_fileno(stdin)) != 0;
}

bool StderrIsTerminal() {
    return _isatty(_fileno(stderr)) != 0;
}

}  // namespace stampa::cli
