// Previewing logos, as the preview page does it: which list it shows, the
// stored FLASH list read when nothing was picked, and conversions through
// Pixmelt kept in the logo's record for the download.
#pragma once

#include <optional>
#include <string>

#include "pixmelt/pixmelt_binding.h"
#include "transfer/session.h"

namespace stampa {

class CLogoList;

// The list the preview shows: the picked logos once the file dialog was
// confirmed, else the model's stored FLASH list.
CLogoList& PreviewList(Session& session);

// Reads the model's stored FLASH list and its NV list when not read yet and a model is
// chosen (the preview and download pages do so when shown).
void LoadStoredListIfNeeded(Session& session);

// Converts logo `index` of the preview list with `method`, contrast and
// brightness (-100..100) and records the method and the file Pixmelt gave back
// in the logo's record. Refused with "位图正在下载!" (nothing converted) while
// a download is sending the picked logos.
// With `fitPaper` a logo wider than the session's paper (PaperDots) is first
// scaled down to it (logos/fit_width.h) and the scaled picture converted.
std::optional<PixmeltConversion> ConvertForPreview(Session& session, int index, int method,
                                                   int contrast, int brightness,
                                                   bool fitPaper = false);

// Converts `path` as Pixmelt does, after scaling it down to `dots` across where
// it is wider (dots 0: as it is). A picture that cannot be scaled gives
// Pixmelt's file error.
PixmeltConversion FitAndConvert(const std::string& path, int dots, int method, int contrast,
                                int brightness);

// A test print of logo `index` of the preview list as the preview shows it
// converted (transfer/test_print.h): a 1-bit logo as it is; another converted
// with `method` (Dither M3 when none is chosen), contrast and brightness,
// fitted to the paper with `fitPaper`. Normal size, no label.
bool TestPrintPreviewLogo(Session& session, int index, int method, int contrast, int brightness,
                          bool fitPaper);

// The logo is shown as picked: its record's conversion mode goes back to 0.
void ShowAsPicked(Session& session, int index);

// Whether a logo of the preview list is a 1-bit picture (shown as it is, never converted).
bool IsMonochromeLogo(Session& session, int index);

}  // namespace stampa
