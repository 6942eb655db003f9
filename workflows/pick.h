// Picking logos and removing them again, as the select page and stampa-cli do
// it: each file checked (a 1-bit or 24-bit BMP, or another picture brought into
// one, within the limits), appended to
// SelectedLogos with its size, at most 255 kept; SelectedCount, SelectedBytes,
// LogosPicked and CurrentLogo kept in step.
#pragma once

#include <string>
#include <vector>
#include "transfer/session.h"

namespace stampa {

// Whether the pick may change now: not while a download is sending it.
bool PickChangesAllowed(const Session& session);

// Whether another logo may be picked (fewer than 255 are).
bool CanPickMore(const Session& session);

struct PickOutcome {
    int added = 0;
    std::vector<std::string> refused;        // files that are no logo, as given
    int dropped = 0;                         // files past the 255th, dropped silently
    std::vector<std::string> alreadyPicked;  // names of files already in the pick
};

// Picks `files` in order, as the file dialog gave them (relative paths are
// taken from the working directory). A refused file is reported to the
// operator ("请选择单色位图或24真彩色位图 ." after the checker's own message)
// and the next one is tried. Afterwards LogosPicked is set and the first
// logo, if any, becomes the one the preview shows. Nothing changes while a
// download is sending.
//
// `oncePerFile` (the select page's pick, added to by dialog and drops): a file
// already in the pick is not added again, and the status line names it. A
// command line takes the files as given, the same one twice included.
PickOutcome PickLogos(Session& session, const std::vector<std::string>& files,
                      bool oncePerFile = false);

enum class RemoveOutcome { Removed, NothingSelected, Cancelled, NotNow };

// Removes the picked logos at `rows` after asking ("删除吗?" for one,
// "删除全部吗?" for several); with no row, tells the operator to select
// some. Rows are removed from the last one down; CurrentLogo follows its logo
// or becomes -1 when that logo goes.
RemoveOutcome RemoveLogos(Session& session, std::vector<int> rows);

}  // namespace stampa
