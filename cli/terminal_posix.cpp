#include <unistd.h>

#include "cli/cli_io.h"

namespace stampa::cli {

void PrepareTerminal() {}

bool StdinIsTerminal() {
    return isatty(STDIN_FILENO) == 1;
}

bool StderrIsTerminal() {
    return isatty(STDERR_FILENO) == 1;
}

}  // namespace stampa::cli
