#include "workflows/preview.h"

#include "common/messages.h"
#include "common/operator.h"
#include "logos/bitmap_reader.h"
#include "logos/logo_store.h"
#include "logos/nv_list.h"
#include "logos/stored_list.h"
#include "transfer/session.h"

namespace stampa {

CLogoList& PreviewList(Session& session) {
    return session.LogosPicked ? session.SelectedLogos : session.StoredFlashLogos;
}

void LoadStoredListIfNeeded(Session& session) {
    if (!session.StoredListLoaded && !session.PrinterModel.empty()) {
        ReloadStoredFlashLogos(session);
        ReloadNvLogos(session);
    }
}

std::optional<PixmeltConversion> ConvertForPreview(Session& session, int index, int method,
                                                   int contrast, int brightness) {
    CLogoList& list = PreviewList(session);
    if (&list == &session.SelectedLogos && !session.DownloadIdle) {
        ShowPlain(session, msg::kDownloadRunning);
        return std::nullopt;
    }
    PixmeltConversion conversion = ConvertBitmap(list.GetPath(index), method, contrast, brightness);
    list.SetMode(index, method);
    list.SetConvertedPath(index, conversion.outputPath);
    return conversion;
}

void ShowAsPicked(Session& session, int index) {
    PreviewList(session).SetMode(index, 0);
}

bool IsMonochromeLogo(Session& session, int index) {
    return IsMonoBitmap(PreviewList(session).GetPath(index), session) != 0;
}

}  // namespace stampa
