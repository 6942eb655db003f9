// An NV download's steps around the plan (transfer/nv_plan.h): preparing it
// before the operator is asked, sending it on the download worker, checking
// afterwards what the printer holds, and recording that in the model's NV list
// and in the record of what was sent over each link.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "link/link_state.h"
#include "transfer/nv_plan.h"
#include "transfer/session.h"

namespace stampa {

// After NV writes the printer answers only once it has finished them: the
// wait for the key list then is longer than for an ordinary question.
inline constexpr int kAnswerAfterNvWritesMs = 15000;

// On the user-interface thread, before the question: converts any 24-bit
// logo as the job would, reads each picked logo's definition, and — where the
// link reads and `replaceAll` is not chosen — asks the printer for the keys it
// holds and its capacity (kept for the download page). Without an answer the
// plan is that of a link that cannot read.
NvPlan PrepareNvDownload(Session& session, PortHandleValue handle, bool replaceAll);

// Forgets, in the model's record of what was sent, every key the plan writes
// or deletes, before anything is sent: a download that stops half-way leaves
// no record claiming what the printer may no longer hold. False when the record
// cannot be written; then nothing may be sent.
bool ForgetWhatThePlanWrites(NvPlan& plan, const std::string& startDirectory,
                             const std::string& model);

// The bytes SendNvPlan sends for `plan`: its deletes and definitions.
long long NvStreamBytes(const NvPlan& plan);

// Sends the plan: "delete all" or the dropped keys, then each logo that is not
// unchanged (its key deleted first where planned). `onLogo(i)` is called before
// logo i. Each logo's digest becomes that of what was sent. False when a write
// failed or a logo's file could not be sent.
bool SendNvPlan(const Session& session, PortHandleValue handle, NvPlan& plan,
                const std::function<void(int)>& onLogo);

// After the writes, where the plan read the printer's keys: the keys of the
// list the printer does not hold (empty: every one is there); nullopt when the
// printer did not answer.
std::optional<std::vector<std::string>> MissingNvKeys(PortHandleValue handle, const NvPlan& plan);

// What the printer now holds, after a download that went through (`missing`:
// the keys it did not keep): NvLogos becomes the picked logos it holds, the
// record their digests over this link. Both files are written unless
// `writeFiles` is false; false when one could not be.
bool RecordNvDownloadPlan(Session& session, const NvPlan& plan,
                          const std::vector<std::string>& missing, bool writeFiles);

// Many printers at once (stampa-cli): each link's process downloads without
// writing files; then the parent records, for the session's model (and the
// logos it picked and converted), that the links in
// `okLinks` hold the picked logos — NV list written only when `all` succeeded,
// the record of what was sent in any case (failed links forget those keys).
void RecordNvFleetDownload(Session& session, const std::vector<std::string>& okLinks, bool all,
                           bool replaceAll);

// The status line's and stampa-cli's account: "NV: 1 defined, 2 unchanged,
// 1 deleted (2 NV writes)".
std::string NvPlanSummary(const NvPlan& plan);

}  // namespace stampa
