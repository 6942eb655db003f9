#include "workflows/pick.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <optional>

#include "common/language.h"
#include "common/messages.h"
#include "common/operator.h"
#include "common/text_format.h"
#include "logos/bitmap_reader.h"
#include "logos/logo_store.h"
#include "logos/picture_import.h"
#include "transfer/session.h"

namespace stampa {
namespace {

bool IsLogoFile(const Session& session, const std::string& path) {
    return IsMonoBitmap(path, session) || IsTrueColorBitmap(path, session);
}

// A file the BMP checks decide about: a BMP of 1 or 24 bits, or no picture
// at all (the checks then say what they always said).
bool ForTheBmpChecks(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    unsigned char head[kBitmapHeaderBytes] = {};
    in.read(reinterpret_cast<char*>(head), sizeof head);
    const auto got = static_cast<std::size_t>(in.gcount());
    const PictureFormat format = SniffPictureFormat(head, got);
    if (format == PictureFormat::Unknown)
        return true;
    if (format != PictureFormat::Bmp || got < kBitmapHeaderBytes)
        return format == PictureFormat::Bmp;
    const std::uint16_t bits = ParseBitmapHeader(head).bitCount;
    return bits == 1 || bits == 24;
}

// Why a picture could not be brought in, naming the file.
void RefusePicture(const Session& session, const std::string& file, const ImportOutcome& o) {
    const std::string name = std::filesystem::path(file).filename().string();
    if (o.cannotOpen)
        ShowInformation(session, FormatText(msg::kPictureCannotOpen, name.c_str()));
    else if (o.error == PictureError::TooManyPixels)
        ShowInformation(session, FormatText(msg::kPictureTooManyPixels, name.c_str(),
                                            o.claimedWidth, o.claimedHeight));
    else if (o.error == PictureError::TooLargeForALogo)
        ShowInformation(session, msg::kImageTooLarge);
    else if (o.error == PictureError::Unsupported)
        ShowInformation(session, FormatText(msg::kPictureUnsupported, name.c_str()));
    else if (o.notWritten)
        ShowInformation(session, FormatText(msg::kPictureCacheNotWritten, o.path.c_str()));
    else
        ShowInformation(session, FormatText(msg::kPictureDamaged, name.c_str()));
}

// The file the logo is read from: the BMP picked, or another picture's 24-bit
// BMP in the cache. Nothing when refused, after the operator was told why.
std::optional<std::string> LogoFileOf(const Session& session, const std::string& path) {
    if (ForTheBmpChecks(path)) {
        if (!IsLogoFile(session, path))
            return std::nullopt;
        return path;
    }
    const ImportOutcome imported = ImportPicture(path, PictureCacheFolder(session.StartDirectory));
    if (!imported.Ok()) {
        RefusePicture(session, path, imported);
        return std::nullopt;
    }
    if (!IsLogoFile(session, imported.path))
        return std::nullopt;
    return imported.path;
}

void Append(Session& session, const std::string& picked, const std::string& path) {
    const int position = session.SelectedCount;
    const std::string name = std::filesystem::path(picked).filename().string();
    session.SelectedLogos.Append(position, name, path, path, 0, 0, 0, 0);
    if (picked != path)
        session.SelectedLogos.SetSource(position, picked);
    ReadBitmapGeometry(session.SelectedLogos, position);
    session.SelectedBytes =
        session.SelectedBytes + static_cast<std::int32_t>(session.SelectedLogos.GetSize(position));
    session.SelectedCount = session.SelectedCount + 1;
}

bool AlreadyPicked(const Session& session, const std::string& path) {
    const auto entries = session.SelectedLogos.Entries();
    return std::any_of(entries.begin(), entries.end(), [&path](const LogoEntry& e) {
        return (e.source.empty() ? e.path : e.source) == path;
    });
}

// "已在列表中：a.bmp、b.bmp" on the status line.
void ReportAlreadyPicked(const Session& session, const std::vector<std::string>& names) {
    std::string joined;
    for (const std::string& name : names)
        joined += (joined.empty() ? "" : Localize(msg::kStatusSeparator)) + name;
    ReportOutcome(session, FormatText(msg::kAlreadyPickedFormat, joined.c_str()));
}

void RemoveRow(Session& session, int row) {
    session.SelectedBytes =
        session.SelectedBytes - static_cast<std::int32_t>(session.SelectedLogos.GetSize(row));
    session.SelectedCount = session.SelectedCount - 1;
    if (session.CurrentLogo == row) {
        session.CurrentLogo = -1;
    } else if (session.CurrentLogo > row) {
        session.CurrentLogo = session.CurrentLogo - 1;
    }
    session.SelectedLogos.RemoveAt(row);
}

}  // namespace

bool PickChangesAllowed(const Session& session) {
    return session.DownloadIdle;
}

bool CanPickMore(const Session& session) {
    return session.SelectedCount < kMaxPickedLogos;
}

PickOutcome PickLogos(Session& session, const std::vector<std::string>& files, bool oncePerFile) {
    PickOutcome outcome;
    if (!PickChangesAllowed(session)) {
        return outcome;
    }
    for (const std::string& file : files) {
        if (!CanPickMore(session)) {
            ++outcome.dropped;
            continue;
        }
        const std::string path = std::filesystem::absolute(file).lexically_normal().string();
        if (oncePerFile && AlreadyPicked(session, path)) {
            outcome.alreadyPicked.push_back(std::filesystem::path(path).filename().string());
            continue;
        }
        const std::optional<std::string> logo = LogoFileOf(session, path);
        if (!logo) {
            if (ForTheBmpChecks(path))
                ShowInformation(session, msg::kNotABitmapForUs);
            outcome.refused.push_back(file);
            continue;
        }
        Append(session, path, *logo);
        ++outcome.added;
    }
    session.LogosPicked = true;
    session.CurrentLogo = session.SelectedCount >= 1 ? 0 : -1;
    if (!outcome.alreadyPicked.empty())
        ReportAlreadyPicked(session, outcome.alreadyPicked);
    return outcome;
}

RemoveOutcome RemoveLogos(Session& session, std::vector<int> rows) {
    if (!PickChangesAllowed(session)) {
        return RemoveOutcome::NotNow;
    }
    const int count = session.SelectedCount;
    std::erase_if(rows, [count](int row) { return row < 0 || row >= count; });
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    if (rows.empty()) {
        ShowInformation(session, msg::kSelectRowsToDelete);
        return RemoveOutcome::NothingSelected;
    }
    if (!AskOkCancel(session, rows.size() == 1 ? msg::kAskDeleteOne : msg::kAskDeleteAll)) {
        return RemoveOutcome::Cancelled;
    }
    // From the last row down, so the rows still to visit keep their positions.
    for (auto it = rows.rbegin(); it != rows.rend(); ++it) {
        RemoveRow(session, *it);
    }
    return RemoveOutcome::Removed;
}

}  // namespace stampa
