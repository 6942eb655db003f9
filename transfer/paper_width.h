// Logos against the paper's printable width (the session's PaperDots, from the
// model's printer profile): a wider logo is cut at the paper's edge when
// printed, so the jobs ask before sending one, or refuse it where the session
// is strict.
#pragma once

#include <string>
#include <vector>

#include "logos/logo_list.h"
#include "transfer/session.h"

namespace stampa {

struct WideLogo {
    std::string name;
    int width = 0;  // in dots, as printed
};

// The logos whose width times `factor` (2 at double width) exceeds the
// paper; none where the paper's width is not known.
std::vector<WideLogo> WiderThanPaper(const LogoStore& store, const std::vector<LogoEntry>& logos,
                                     int factor = 1);

// True when the operator may go on: nothing is too wide, or they answered OK
// to "…比纸宽…继续吗?" naming each logo and its width. With StrictWidth the
// logos are named in a refusal and the answer is false.
bool AcceptWidths(const Session& session, const std::vector<WideLogo>& wide);

// The tooltip of a logo wider than the paper ("比纸宽：600 > 576 点"), or
// empty when it fits or the paper is not known.
std::string WiderThanPaperText(const LogoStore& store, int width);

}  // namespace stampa
