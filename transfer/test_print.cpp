#include "transfer/test_print.h"

#include <algorithm>

#include "common/language.h"
#include "common/messages.h"
#include "common/operator.h"
#include "common/text_format.h"
#include "link/port.h"
#include "link/senders.h"
#include "transfer/paper_width.h"
#include "transfer/print_job.h"
#include "transfer/spooler_document.h"

namespace stampa {
namespace {

bool Send(PortHandleValue handle, const Bytes& bytes) {
    return PortWrite(handle, bytes.data(), static_cast<int>(bytes.size())) != 0;
}

// The pictures, read before anything is sent; nothing when one cannot be.
std::optional<std::vector<RowImage>> ReadAll(const std::vector<TestPrintLogo>& logos) {
    std::vector<RowImage> images;
    for (const TestPrintLogo& logo : logos) {
        auto image = LoadRowImage(logo.path);
        if (!image)
            return std::nullopt;
        images.push_back(std::move(*image));
    }
    return images;
}

bool WidthsAccepted(const Session& session, const std::vector<TestPrintLogo>& logos,
                    const std::vector<RowImage>& images, int mode) {
    std::vector<LogoEntry> entries;
    for (std::size_t i = 0; i < logos.size(); ++i) {
        LogoEntry e;
        e.name = logos[i].name;
        e.width = static_cast<std::uint32_t>(images[i].width);
        e.height = static_cast<std::uint32_t>(images[i].height);
        entries.push_back(e);
    }
    const int factor = mode == kDoubleWidth || mode == kDoubleWidthAndHeight ? 2 : 1;
    return AcceptWidths(session, WiderThanPaper(session, entries, factor));
}

bool SendAll(PortHandleValue handle, const std::vector<RowImage>& images, int mode, bool label) {
    for (std::size_t i = 0; i < images.size(); ++i) {
        if (label && (!SendLogoLabel(handle, static_cast<int>(i) + 1) || SendLineFeed(handle) == 0))
            return false;
        const auto bands = RasterBands(images[i], mode);
        if (!bands)
            return false;
        for (const Bytes& band : *bands)
            if (!Send(handle, band))
                return false;
        if (SendLineFeed(handle) == 0)
            return false;
    }
    return PortFlush(handle) != 0;
}

std::string Names(const std::vector<TestPrintLogo>& logos) {
    std::string names;
    for (const TestPrintLogo& logo : logos)
        names += (names.empty() ? "" : Localize(msg::kStatusSeparator)) + logo.name;
    return names;
}

}  // namespace

std::optional<std::vector<Bytes>> RasterBands(const RowImage& image, int mode) {
    std::vector<Bytes> bands;
    for (int top = 0; top < image.height; top += kMaxRasterBandRows) {
        const int rows = std::min(kMaxRasterBandRows, image.height - top);
        auto band = RasterBitImageHead(mode, image.rowBytes, rows);
        if (!band)
            return std::nullopt;
        const auto from = image.data.begin() + static_cast<long>(top) * image.rowBytes;
        band->insert(band->end(), from, from + static_cast<long>(rows) * image.rowBytes);
        bands.push_back(std::move(*band));
    }
    if (bands.empty())
        return std::nullopt;
    return bands;
}

bool TestPrint(Session& session, const std::vector<TestPrintLogo>& logos, int mode, bool label) {
    if (!session.PortConfigured) {
        ShowInformation(session, msg::kSetPortFirst);
        return false;
    }
    if (!session.DownloadIdle) {
        ShowPlain(session, msg::kDownloadRunning);
        return false;
    }
    const auto images = ReadAll(logos);
    if (!images || logos.empty()) {
        ShowInformation(session, msg::kOpenBitmapFailed);
        return false;
    }
    if (!WidthsAccepted(session, logos, *images, mode))
        return false;
    const PortHandleValue handle = session.PortHandle;
    return SendInSpoolerDocument(handle, session.PrintDocInfo, [&] {
        const bool sent = SendAll(handle, *images, mode, label);
        if (sent) {
            ReportOutcome(session, FormatText(msg::kTestPrintedFormat, Names(logos).c_str()));
        } else {
            ShowWarning(session, msg::kCommunicationFailed);
            ReportOutcome(session, msg::kOutcomeFailed);
        }
        return sent;
    });
}

}  // namespace stampa
