#include "workflows/pick.h"

#include <algorithm>
#include <filesystem>

#include "common/messages.h"
#include "common/operator.h"
#include "logos/bitmap_reader.h"
#include "logos/logo_lists.h"
#include "transfer/session.h"

namespace stampa {
namespace {

bool IsLogoFile(const std::string& path) {
    return IsMonoBitmap(path) || IsTrueColorBitmap(path);
}

void Append(const std::string& path) {
    const int position = SelectedCount;
    const std::string name = std::filesystem::path(path).filename().string();
    SelectedLogos.Append(position, name, path, path, 0, 0, 0, 0);
    ReadBitmapGeometry(position);
    SelectedBytes = SelectedBytes + static_cast<std::int32_t>(SelectedLogos.GetSize(position));
    SelectedCount = SelectedCount + 1;
}

void RemoveRow(int row) {
    SelectedBytes = SelectedBytes - static_cast<std::int32_t>(SelectedLogos.GetSize(row));
    SelectedCount = SelectedCount - 1;
    if (CurrentLogo == row) {
        CurrentLogo = -1;
    } else if (CurrentLogo > row) {
        CurrentLogo = CurrentLogo - 1;
    }
    SelectedLogos.RemoveAt(row);
}

}  // namespace

bool PickChangesAllowed(const Session& session) {
    return session.DownloadIdle;
}

bool CanPickMore() {
    return SelectedCount < kMaxPickedLogos;
}

PickOutcome PickLogos(const Session& session, const std::vector<std::string>& files) {
    PickOutcome outcome;
    if (!PickChangesAllowed(session)) {
        return outcome;
    }
    for (const std::string& file : files) {
        if (!CanPickMore()) {
            ++outcome.dropped;
            continue;
        }
        const std::string path = std::filesystem::absolute(file).string();
        if (!IsLogoFile(path)) {
            ShowInformation(msg::kNotABitmapForUs);
            outcome.refused.push_back(file);
            continue;
        }
        Append(path);
        ++outcome.added;
    }
    LogosPicked = true;
    CurrentLogo = SelectedCount >= 1 ? 0 : -1;
    return outcome;
}

RemoveOutcome RemoveLogos(const Session& session, std::vector<int> rows) {
    if (!PickChangesAllowed(session)) {
        return RemoveOutcome::NotNow;
    }
    const int count = SelectedCount;
    std::erase_if(rows, [count](int row) { return row < 0 || row >= count; });
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    if (rows.empty()) {
        ShowInformation(msg::kSelectRowsToDelete);
        return RemoveOutcome::NothingSelected;
    }
    if (!AskOkCancel(rows.size() == 1 ? msg::kAskDeleteOne : msg::kAskDeleteAll)) {
        return RemoveOutcome::Cancelled;
    }
    // From the last row down, so the rows still to visit keep their positions.
    for (auto it = rows.rbegin(); it != rows.rend(); ++it) {
        RemoveRow(*it);
    }
    return RemoveOutcome::Removed;
}

}  // namespace stampa
