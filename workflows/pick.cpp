#include "workflows/pick.h"

#include <algorithm>
#include <filesystem>

#include "common/language.h"
#include "common/messages.h"
#include "common/operator.h"
#include "common/text_format.h"
#include "logos/bitmap_reader.h"
#include "logos/logo_store.h"
#include "transfer/session.h"

namespace stampa {
namespace {

bool IsLogoFile(const Session& session, const std::string& path) {
    return IsMonoBitmap(path, session) || IsTrueColorBitmap(path, session);
}

void Append(Session& session, const std::string& path) {
    const int position = session.SelectedCount;
    const std::string name = std::filesystem::path(path).filename().string();
    session.SelectedLogos.Append(position, name, path, path, 0, 0, 0, 0);
    ReadBitmapGeometry(session.SelectedLogos, position);
    session.SelectedBytes =
        session.SelectedBytes + static_cast<std::int32_t>(session.SelectedLogos.GetSize(position));
    session.SelectedCount = session.SelectedCount + 1;
}

bool AlreadyPicked(const Session& session, const std::string& path) {
    const auto entries = session.SelectedLogos.Entries();
    return std::any_of(entries.begin(), entries.end(),
                       [&path](const LogoEntry& e) { return e.path == path; });
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
        if (!IsLogoFile(session, path)) {
            ShowInformation(session, msg::kNotABitmapForUs);
            outcome.refused.push_back(file);
            continue;
        }
        Append(session, path);
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
