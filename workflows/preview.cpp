#include "workflows/preview.h"

#include "common/messages.h"
#include "common/operator.h"
#include "logos/bitmap_reader.h"
#include "logos/fit_width.h"
#include "logos/logo_store.h"
#include "logos/nv_list.h"
#include "logos/stored_list.h"
#include "transfer/session.h"
#include "transfer/test_print.h"

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

PixmeltConversion FitAndConvert(const std::string& path, int dots, int method, int contrast,
                                int brightness) {
    if (dots <= 0)
        return ConvertBitmap(path, method, contrast, brightness);
    const FitOutcome fit = FitToWidth(path, dots);
    switch (fit.result) {
        case FitResult::Fits:
            return ConvertBitmap(path, method, contrast, brightness);
        case FitResult::Scaled:
            return ConvertBitmap(fit.path, method, contrast, brightness);
        default:
            return PixmeltConversion{};  // kPixmeltFileError, no path
    }
}

std::optional<PixmeltConversion> ConvertForPreview(Session& session, int index, int method,
                                                   int contrast, int brightness, bool fitPaper) {
    CLogoList& list = PreviewList(session);
    if (&list == &session.SelectedLogos && !session.DownloadIdle) {
        ShowPlain(session, msg::kDownloadRunning);
        return std::nullopt;
    }
    PixmeltConversion conversion = FitAndConvert(
        list.GetPath(index), fitPaper ? session.PaperDots : 0, method, contrast, brightness);
    list.SetMode(index, method);
    list.SetConvertedPath(index, conversion.outputPath);
    return conversion;
}

bool TestPrintPreviewLogo(Session& session, int index, int method, int contrast, int brightness,
                          bool fitPaper) {
    CLogoList& list = PreviewList(session);
    if (index < 0 || index >= list.Count()) {
        ShowInformation(session, msg::kSelectLogosToPrint);
        return false;
    }
    std::string path = list.GetPath(index);
    if (!IsMonoBitmap(path, session)) {
        const auto conversion = ConvertForPreview(
            session, index, method < 0 ? kPixmeltDitherM3 : method, contrast, brightness, fitPaper);
        if (!conversion)
            return false;
        path = conversion->outputPath;
    }
    return TestPrint(session, {{list.GetName(index), path}}, kNormalSize, false);
}

void ShowAsPicked(Session& session, int index) {
    PreviewList(session).SetMode(index, 0);
}

bool IsMonochromeLogo(Session& session, int index) {
    return IsMonoBitmap(PreviewList(session).GetPath(index), session) != 0;
}

}  // namespace stampa
