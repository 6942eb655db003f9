#include "transfer/nv_delete.h"

#include <algorithm>
#include <string>

#include "common/messages.h"
#include "common/operator.h"
#include "common/text_format.h"
#include "link/commands.h"
#include "link/port.h"
#include "logos/nv_list.h"
#include "logos/stored_list.h"
#include "transfer/transfer_state.h"

namespace stampa {
namespace {

// The deletes, as one exchange: true when every write and the flush succeeded.
bool SendDeletes(PortHandleValue handle, bool all, const std::vector<int>& numbers) {
    bool ok = true;
    if (all) {
        ok = SendDeleteAllNvGraphics(handle) != 0;
    }
    for (std::size_t i = 0; ok && !all && i < numbers.size(); ++i) {
        ok = SendDeleteNvGraphic(handle, numbers[i]) != 0;
    }
    return ok && PortFlush(handle) != 0;
}

void Forget(bool all, const std::vector<int>& numbers) {
    if (all) {
        NvLogos.RemoveAll();
    } else {
        ForgetNvNumbers(numbers);
    }
    if (!PrinterModel.empty() && SaveNvList(StartDirectory, PrinterModel) == 0) {
        const std::string file = NvListFileName(StartDirectory, PrinterModel);
        ShowInformation(FormatText(msg::kNvListNotSaved, file.c_str()));
    }
}

}  // namespace

bool DeleteNvLogos(bool all, std::vector<int> numbers) {
    if (!PortConfigured) {
        ShowInformation(msg::kSetPortFirst);
        return false;
    }
    if (!DownloadIdle) {
        ShowPlain(msg::kDownloadRunning);
        return false;
    }
    std::sort(numbers.begin(), numbers.end());
    numbers.erase(std::unique(numbers.begin(), numbers.end()), numbers.end());
    std::erase_if(numbers, [](int n) { return n < 1 || n > kMaxNvNumber; });
    if (!all && numbers.empty()) {
        ShowInformation(msg::kSelectRowsToDelete);
        return false;
    }
    if (!AskOkCancel(all ? msg::kAskDeleteAll : msg::kAskDeleteOne)) {
        return false;
    }
    const PortHandleValue handle = PortHandle;
    const bool driver = IsDriverConnection(handle);
    if (driver && PortStartDocument(handle, PrintDocInfo) == 0) {
        PortClose(handle);
        return false;
    }
    const bool ok = SendDeletes(handle, all, numbers);
    if (ok) {
        Forget(all, numbers);
    } else {
        ShowWarning(msg::kCommunicationFailed);
    }
    if (driver && PortEndDocument(handle) == 0) {
        PortClose(handle);
    }
    return ok;
}

}  // namespace stampa
