#include "transfer/nv_delete.h"

#include <algorithm>
#include <string>

#include "common/language.h"
#include "common/messages.h"
#include "common/operator.h"
#include "common/outcome.h"
#include "common/text_format.h"
#include "link/port.h"
#include "link/senders.h"
#include "logos/nv_list.h"
#include "logos/stored_list.h"
#include "protocol/commands.h"
#include "transfer/nv_rows.h"
#include "transfer/spooler_document.h"

namespace stampa {
namespace {

// The deletes, as one exchange: true when every write and the flush succeeded.
bool SendDeletes(PortHandleValue handle, bool all, const std::vector<std::string>& keys) {
    bool ok = true;
    if (all) {
        ok = SendDeleteAllNvGraphics(handle) != 0;
    }
    for (std::size_t i = 0; ok && !all && i < keys.size(); ++i) {
        ok = SendDeleteNvGraphic(handle, keys[i]) != 0;
    }
    return ok && PortFlush(handle) != 0;
}

// "01、03" (Chinese) or "01, 03" (English).
std::string JoinedKeys(const std::vector<std::string>& keys) {
    std::string joined;
    for (const std::string& key : keys)
        joined += (joined.empty() ? "" : Localize(msg::kStatusSeparator)) + key;
    return joined;
}

void Forget(Session& session, bool all, const std::vector<std::string>& keys) {
    ForgetNvKeys(session, keys, all);
    if (!session.PrinterModel.empty() && SaveNvList(session) == 0) {
        const std::string file = NvListFileName(session.StartDirectory, session.PrinterModel);
        ShowInformation(session, FormatText(msg::kNvListNotSaved, file.c_str()));
    }
}

}  // namespace

std::vector<std::string> NvKeysOfRows(const Session& session, const std::vector<int>& rows) {
    const std::vector<NvRow> listed = NvRows(session);
    std::vector<std::string> keys;
    for (int row : rows) {
        if (row >= 0 && row < static_cast<int>(listed.size()))
            keys.push_back(listed[static_cast<std::size_t>(row)].key);
    }
    return keys;
}

bool DeleteNvLogos(Session& session, bool all, std::vector<std::string> keys) {
    if (!session.PortConfigured) {
        ShowInformation(session, msg::kSetPortFirst);
        return false;
    }
    if (!session.DownloadIdle) {
        ShowPlain(session, msg::kDownloadRunning);
        return false;
    }
    std::sort(keys.begin(), keys.end());
    keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
    std::erase_if(keys, [](const std::string& key) { return !ValidNvKey(key); });
    if (!all && keys.empty()) {
        ShowInformation(session, msg::kSelectRowsToDelete);
        return false;
    }
    // The question names what goes, as the printer cannot give it back.
    const std::string named = JoinedKeys(keys);
    if (!AskOkCancel(session, all ? Localize(msg::kAskDeleteAllNv)
                                  : FormatText(msg::kAskDeleteNvFormat, named.c_str()))) {
        return false;
    }
    const PortHandleValue handle = session.PortHandle;
    return SendInSpoolerDocument(handle, session.PrintDocInfo, [&] {
        const bool ok = SendDeletes(handle, all, keys);
        if (ok) {
            Forget(session, all, keys);
            ReportOutcome(session, all ? Localize(msg::kDeletedAllNv)
                                       : FormatText(msg::kDeletedNvFormat, named.c_str()));
        } else {
            ShowWarning(session, msg::kCommunicationFailed);
            ReportOutcome(session, msg::kOutcomeFailed);
        }
        return ok;
    });
}

}  // namespace stampa
