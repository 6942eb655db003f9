// The description passed with every document started on the print spooler.
#pragma once

#include <string>

namespace stampa {

struct DocInfo {
    std::string documentName;  // the job's title
    std::string outputFile;    // empty: print to the printer, not to a file
    std::string dataType;      // "RAW": the spooler passes the bytes through unchanged
};

}  // namespace stampa
