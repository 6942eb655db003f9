#include "transfer/nv_download.h"

#include <algorithm>

#include "common/messages.h"
#include "common/operator.h"
#include "common/text_format.h"
#include "link/port.h"
#include "link/senders.h"
#include "logos/logo_store.h"
#include "logos/nv_list.h"
#include "logos/stored_list.h"
#include "transfer/download_job.h"
#include "transfer/printer_queries.h"

namespace stampa {
namespace {

bool Contains(const std::vector<std::string>& keys, const std::string& key) {
    return std::find(keys.begin(), keys.end(), key) != keys.end();
}

std::vector<NvPlannedLogo> PickedDefinitions(Session& session) {
    std::vector<NvPlannedLogo> logos;
    for (int i = 0; i < session.SelectedLogos.Count(); ++i) {
        ConvertIfTrueColor(session, i);
        NvPlannedLogo logo;
        logo.number = i + 1;
        logo.bytes = NvDefinitionBytes(session.SelectedLogos.GetWidth(i),
                                       session.SelectedLogos.GetHeight(i));
        if (const auto definition =
                ReadNvDefinition(session.SelectedLogos.GetConvertedPath(i), i + 1))
            logo.digest = definition->Digest();
        logos.push_back(logo);
    }
    return logos;
}

std::vector<NvHeldLogo> HeldLogos(const LogoStore& session) {
    std::vector<NvHeldLogo> held;
    const std::vector<LogoEntry> entries = session.NvLogos.Entries();
    for (std::size_t i = 0; i < entries.size(); ++i)
        held.push_back({NvNumberOf(entries[i], static_cast<int>(i)),
                        NvDefinitionBytes(entries[i].width, entries[i].height)});
    return held;
}

// The printer's keys and free capacity, asked afresh; each left unknown
// where the printer does not answer. A printer that does not tell its keys is
// not asked for its capacity either: the plan could not use it, and a silent
// printer would hold the operator for each question's wait.
void AskThePrinter(Session& session, PortHandleValue handle, NvPlanInput& in) {
    std::vector<std::string> keys;
    if (QueryNvKeys(handle, keys) != QueryResult::Answered)
        return;
    in.printerKeys = std::move(keys);
    long long total = 0;
    long long free = 0;
    if (QueryNvCapacity(handle, false, total) == QueryResult::Answered &&
        QueryNvCapacity(handle, true, free) == QueryResult::Answered) {
        session.NvCapacityTotal = total;
        session.NvCapacityFree = free;
        in.freeBytes = free;
    }
}

bool SendDefinition(PortHandleValue handle, const NvDefinition& definition) {
    const bool headSent =
        PortWrite(handle, definition.head.data(), static_cast<int>(definition.head.size())) != 0;
    const bool rowsSent =
        PortWrite(handle, definition.rows.data(), static_cast<int>(definition.rows.size())) != 0;
    return headSent && rowsSent;
}

}  // namespace

NvPlan PrepareNvDownload(Session& session, PortHandleValue handle, bool replaceAll) {
    NvPlanInput in;
    in.replaceAll = replaceAll;
    in.link = session.PortName;
    in.sent = LoadNvSent(session.StartDirectory, session.PrinterModel);
    in.logos = PickedDefinitions(session);
    in.previous = HeldLogos(session);
    if (!replaceAll && PortCanRead(handle)) {
        AskThePrinter(session, handle, in);
    }
    if (session.NvCapacityTotal >= 0) {
        in.totalBytes = session.NvCapacityTotal.load();
    }
    return PlanNvDownload(in);
}

bool ForgetWhatThePlanWrites(NvPlan& plan, const std::string& startDirectory,
                             const std::string& model) {
    if (plan.replaceAll) {
        plan.sent = NvSentRecord{};  // every key of the printer goes
    }
    for (const std::string& key : plan.dropped)
        plan.sent.Forget(key);
    for (const NvPlannedLogo& logo : plan.logos) {
        if (logo.action != NvAction::Unchanged)
            plan.sent.Forget(NvKeyOf(logo.number));
    }
    return model.empty() || SaveNvSent(startDirectory, model, plan.sent);
}

long long NvStreamBytes(const NvPlan& plan) {
    const auto deleteOne = static_cast<long long>(DeleteNvGraphicCommand("01")->size());
    long long bytes = plan.bytesSent + deleteOne * static_cast<long long>(plan.dropped.size());
    if (plan.replaceAll)
        bytes += static_cast<long long>(DeleteAllNvGraphicsCommand().size());
    for (const NvPlannedLogo& logo : plan.logos) {
        if (logo.action == NvAction::DeleteThenDefine)
            bytes += deleteOne;
    }
    return bytes;
}

bool SendNvPlan(const Session& session, PortHandleValue handle, NvPlan& plan,
                const std::function<void(int)>& onLogo) {
    bool ok = !plan.replaceAll || SendDeleteAllNvGraphics(handle) != 0;
    for (const std::string& key : plan.dropped)
        ok = ok && SendDeleteNvGraphic(handle, key) != 0;
    for (std::size_t i = 0; ok && i < plan.logos.size(); ++i) {
        NvPlannedLogo& logo = plan.logos[i];
        onLogo(static_cast<int>(i));
        if (logo.action == NvAction::Unchanged)
            continue;
        if (logo.action == NvAction::DeleteThenDefine &&
            SendDeleteNvGraphic(handle, NvKeyOf(logo.number)) == 0)
            return false;
        const auto definition = ReadNvDefinition(
            session.SelectedLogos.GetConvertedPath(static_cast<int>(i)), logo.number);
        if (!definition)
            return false;
        logo.digest = definition->Digest();
        ok = SendDefinition(handle, *definition);
    }
    return ok;
}

std::optional<std::vector<std::string>> MissingNvKeys(PortHandleValue handle, const NvPlan& plan) {
    std::vector<std::string> keys;
    if (QueryNvKeys(handle, keys, kAnswerAfterNvWritesMs) != QueryResult::Answered)
        return std::nullopt;
    std::vector<std::string> missing;
    for (const NvPlannedLogo& logo : plan.logos) {
        if (!Contains(keys, NvKeyOf(logo.number)))
            missing.push_back(NvKeyOf(logo.number));
    }
    return missing;
}

bool RecordNvDownloadPlan(Session& session, const NvPlan& plan,
                          const std::vector<std::string>& missing, bool writeFiles) {
    RecordNvDownload(session, session.SelectedLogos);
    std::vector<int> gone;
    NvSentRecord sent = plan.sent;
    for (const NvPlannedLogo& logo : plan.logos) {
        const std::string key = NvKeyOf(logo.number);
        if (Contains(missing, key)) {
            gone.push_back(logo.number);
            sent.Forget(key);
        } else if (logo.action != NvAction::Unchanged) {
            sent.Replace(key, {plan.link}, logo.digest);
        }
    }
    ForgetNvNumbers(session, gone);
    if (!writeFiles || session.PrinterModel.empty()) {
        return true;
    }
    const bool listSaved = SaveNvList(session) != 0;
    if (!listSaved) {
        const std::string file = NvListFileName(session.StartDirectory, session.PrinterModel);
        ShowInformation(session, FormatText(msg::kNvListNotSaved, file.c_str()));
    }
    // A record not written keeps the keys forgotten before the download: safe.
    return SaveNvSent(session.StartDirectory, session.PrinterModel, sent) && listSaved;
}

void RecordNvFleetDownload(Session& session, const std::vector<std::string>& okLinks, bool all,
                           bool replaceAll) {
    ReloadNvLogos(session);
    NvSentRecord sent =
        replaceAll ? NvSentRecord{} : LoadNvSent(session.StartDirectory, session.PrinterModel);
    const int count = session.SelectedLogos.Count();
    for (const NvHeldLogo& held : HeldLogos(session)) {
        if (held.number > count)
            sent.Forget(NvKeyOf(held.number));
    }
    for (int i = 0; i < count; ++i) {
        const auto definition = ReadNvDefinition(session.SelectedLogos.GetConvertedPath(i), i + 1);
        if (definition)
            sent.Replace(NvKeyOf(i + 1), okLinks, definition->Digest());
        else
            sent.Forget(NvKeyOf(i + 1));
    }
    if (all) {
        RecordNvDownload(session, session.SelectedLogos);
        SaveNvList(session);
    }
    SaveNvSent(session.StartDirectory, session.PrinterModel, sent);
}

std::string NvPlanSummary(const NvPlan& plan) {
    return FormatText(msg::kNvDownloadSummary, plan.Defined(), plan.Unchanged(), plan.Deleted(),
                      plan.NvWrites());
}

}  // namespace stampa
