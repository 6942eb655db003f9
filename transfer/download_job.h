// The download job: stores every logo of SelectedLogos in the printer's FLASH
// (one FS q command defining them all), RAM (GS # and GS * per logo) or NV
// graphics (one definition per changed logo, keys "01", "02", ...: see
// transfer/nv_plan.h), on a worker thread of its own, and on success records
// what that memory now holds (for NV graphics also in the model's NV list
// file and the record of what was sent, at once).
#pragma once

#include <chrono>
#include <string>
#include <vector>

#include "link/link_state.h"
#include "logos/logo_list.h"
#include "transfer/job_pages.h"
#include "transfer/session.h"

namespace stampa {

// The download button's handler, on the user-interface thread: checks the
// connection, asks for confirmation, applies the capacity limits, opens the
// spooler document on the driver link and starts the session's worker.
// Returns at once.
void StartDownload(Session& session, IDownloadPage& page);

// Converts picked logo `position` when it is still 24-bit, with "Dither M3",
// and records the file Pixmelt wrote as its converted path (the job does so
// for each logo; stampa-cli does it once before downloading to many printers).
void ConvertIfTrueColor(Session& session, int position);

// Send one logo file: FLASH its 4-byte header and data, RAM GS # number, GS * x y
// and data, NV the definition's head and data. False (nothing written) for the handle -1, a RAM
// number outside 0..8, or a file that cannot be opened, is not a 1-bit BMP, has no pixels or is
// larger than the command can describe; false as well when a write failed (every write is attempted
// all the same).
bool SendFlashLogo(PortHandleValue handle, const std::string& path);
bool SendRamLogo(PortHandleValue handle, const std::string& path, int number);

// The bytes a download of `logos` into `memory` sends (NV graphics: at most,
// with every logo defined).
long long DownloadStreamBytes(Memory memory, const std::vector<LogoEntry>& logos);

// Waits until the session's last download has finished (tests, the command
// line, the end of the program). True when no download is running afterwards.
bool WaitForDownload(Session& session, std::chrono::milliseconds limit = std::chrono::minutes(30));

}  // namespace stampa
