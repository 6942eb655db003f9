// The virtual printer as a running process: its transports, one printer state
// behind them, receipts written to a folder.
#pragma once

#include <string>
#include <vector>

#include "vprinter/printer.h"

namespace vprinter {

struct ServerOptions {
    PrinterOptions printer;
    std::string statePath;                 // FLASH logos kept here
    std::string outDir = ".";              // receipts go here
    std::vector<std::string> serialLinks;  // pseudo-terminals linked at these paths
    std::vector<std::string> usbDevices;   // FIFOs at these paths (DIR/lpN)
    std::vector<std::string> tcpListen;    // [HOST:]PORT
    std::vector<std::string> lptSims;      // simulated parallel ports (shared files)
    long long stallAfter = -1;             // stop reading a connection after this many bytes
    long long dropAfter = -1;              // close a connection after this many bytes
    std::string capturePath;               // every received byte is appended here
};

// Runs until SIGINT or SIGTERM. The exit status.
int RunServer(const ServerOptions& options);

}  // namespace vprinter
