#include "workflows/preview.h"

#include "common/messages.h"
#include "common/operator.h"
#include "logos/bitmap_reader.h"
#include "logos/logo_lists.h"
#include "logos/nv_list.h"
#include "logos/stored_list.h"
#include "transfer/session.h"

namespace stampa {

CLogoList& PreviewList() {
    return LogosPicked ? SelectedLogos : StoredFlashLogos;
}

void LoadStoredListIfNeeded() {
    if (!StoredListLoaded && !PrinterModel.empty()) {
        ReloadStoredFlashLogos(StartDirectory, PrinterModel);
        ReloadNvLogos(StartDirectory, PrinterModel);
    }
}

std::optional<PixmeltConversion> ConvertForPreview(const Session& session, int index, int method,
                                                   int contrast, int brightness) {
    CLogoList& list = PreviewList();
    if (&list == &SelectedLogos && !session.DownloadIdle) {
        ShowPlain(msg::kDownloadRunning);
        return std::nullopt;
    }
    PixmeltConversion conversion = ConvertBitmap(list.GetPath(index), method, contrast, brightness);
    list.SetMode(index, method);
    list.SetConvertedPath(index, conversion.outputPath);
    return conversion;
}

void ShowAsPicked(int index) {
    PreviewList().SetMode(index, 0);
}

bool IsMonochromeLogo(int index) {
    return IsMonoBitmap(PreviewList().GetPath(index)) != 0;
}

}  // namespace stampa
