// Connecting to the printer, as the configuration page's OK and stampa-cli do
// it: save the previous model's FLASH list when a FLASH download happened,
// close the old link, open and test the new one, publish model and port name,
// reload the new model's stored FLASH list and clear the download marks.
#pragma once

#include <string>
#include <vector>

#include "link/link_open.h"
#include "transfer/session.h"
#include "workflows/config_file.h"

namespace stampa {

// Whether a printer model is reached over USB and the spooler: every model but
// the "RP-810", which has neither.
bool ModelHasUsbAndDriverLinks(const std::string& model);

// The configuration page's start: reads the working directory's Stampa.ini,
// chooses the serial link and the default model, and shows `serialPort` as
// the port until a connection is made.
Configuration BeginConfiguration(Session& session, const std::string& serialPort);

// Takes what the printer profile of the session's PrinterModel says (its
// PaperProfile where stampa-cli chose one, else Stampa.ini's Profile=/Width=
// and the model's own profile) into PaperDots and PrinterNvGraphics. A
// profiles file that cannot be read is said, and leaves no checks.
void UseModelPaper(Session& session);

// The choices of the spooler and USB links when the configuration page's
// button is clicked: the qualifying printer queues; the USB device numbers
// present. With none the page chooses no link (-1), and for the spooler the
// operator is told "找不到正确的打印机驱动!" unless the spooler could not be
// asked at all. The page keeps the link chosen until OK; the session learns
// it only from Connect.
std::vector<std::string> ChooseDriverLink(const Session& session,
                                          const std::string& baseDriverName);
std::vector<int> ChooseUsbLink();

// Connects with `settings` for printer model `model`. Refused with
// "位图正在下载!" while a download is sending (nothing is closed or saved). The operator is told
// why a connection failed, as the configuration page tells it: no link chosen
// or the communication failed (exclamation), the spooler did not open the
// printer (exclamation); a refused spooler document is not reported. On a
// failed communication PortConfigured is cleared; the previous link is closed
// whenever a link was chosen.
LinkOpenResult Connect(Session& session, const std::string& model, const LinkSettings& settings);

}  // namespace stampa
