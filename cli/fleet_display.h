// How a run on many links shows its progress, whichever way the links run.
#pragma once

#include <string>
#include <vector>

#include "cli/fleet.h"

namespace stampa::cli {

// What the display knows of one link.
struct LinkProgress {
    LinkOutcome outcome;
    int position = 0;
    int high = 0;
    std::string status;
};

// A bar per link on a terminal, redrawn in place; else a line per logo sent.
class Display {
  public:
    explicit Display(std::vector<const LinkProgress*> links);
    // `link` moved on from `oldPosition`.
    void Changed(const LinkProgress& link, int oldPosition);

  private:
    std::vector<const LinkProgress*> links_;
    bool terminal_;
    bool drawn_ = false;
};

}  // namespace stampa::cli
