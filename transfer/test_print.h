// A test print: logos printed straight from their 1-bit files with the raster
// bit image command (GS v 0), so a technician sees a logo on paper before it
// is written anywhere. Nothing goes to FLASH, RAM or NV graphics and no list
// changes. Runs on the caller's thread, like the print job.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "logos/row_image.h"
#include "protocol/commands.h"
#include "transfer/session.h"

namespace stampa {

struct TestPrintLogo {
    std::string name;  // for the status line
    std::string path;  // a 1-bit BMP: the logo converted as the preview shows it
};

// The commands of one picture at ScalingMode `mode`: GS v 0 for each band of
// at most kMaxRasterBandRows rows, top to bottom, printed one under the other
// without a gap. Nothing for a picture no command can carry.
std::optional<std::vector<Bytes>> RasterBands(const RowImage& image, int mode);

// Prints each logo (under "=============== LOGO n" with `label`), each
// followed by LF, inside one spooler document on that link. Refused as a
// print is: without a link ("请先设置通讯端口!"), while a download sends
// ("位图正在下载!"), or after the paper-width question. Reports
// "已试打印 a.png、b.png" or "通讯失败" on the status line; true when every
// byte went.
bool TestPrint(Session& session, const std::vector<TestPrintLogo>& logos, int mode, bool label);

}  // namespace stampa
