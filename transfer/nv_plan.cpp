#include "transfer/nv_plan.h"

#include <algorithm>

#define XXH_INLINE_ALL
#include <xxhash.h>

#include "logos/row_image.h"

namespace stampa {

std::uint64_t NvDefinition::Digest() const {
    XXH3_state_t state;
    XXH3_64bits_reset(&state);
    XXH3_64bits_update(&state, head.data(), head.size());
    XXH3_64bits_update(&state, rows.data(), rows.size());
    return XXH3_64bits_digest(&state);
}

std::optional<NvDefinition> ReadNvDefinition(const std::string& path, int number) {
    auto image = LoadRowImage(path);
    if (!image) {
        return std::nullopt;
    }
    auto head = DefineNvGraphicHead(number, image->width, image->height);
    if (!head) {
        return std::nullopt;
    }
    return NvDefinition{std::move(*head), std::move(image->data)};
}

long long NvDefinitionBytes(long long width, long long height) {
    return 11 + (width + 7) / 8 * height;
}

int NvPlan::Defined() const {
    return static_cast<int>(std::count_if(logos.begin(), logos.end(), [](const NvPlannedLogo& l) {
        return l.action != NvAction::Unchanged;
    }));
}

int NvPlan::Unchanged() const {
    return static_cast<int>(logos.size()) - Defined();
}

int NvPlan::Deleted() const {
    return static_cast<int>(dropped.size()) +
           static_cast<int>(std::count_if(logos.begin(), logos.end(), [](const NvPlannedLogo& l) {
               return l.action == NvAction::DeleteThenDefine;
           }));
}

int NvPlan::NvWrites() const {
    return Defined() + Deleted() + (replaceAll ? 1 : 0);
}

namespace {

// Room while the definitions go in, as the printer counts it: a definition
// under a key it holds needs room for the new data before the old is released.
class Room {
  public:
    explicit Room(std::optional<long long> free) : free_(free) {}
    bool Known() const { return free_.has_value(); }
    bool Holds(long long bytes) const { return !free_ || bytes <= *free_; }
    void Release(long long bytes) {
        if (free_)
            *free_ += bytes;
    }
    void Take(long long bytes) {
        if (free_)
            *free_ -= bytes;
    }

  private:
    std::optional<long long> free_;
};

void PlanReplaceAll(const NvPlanInput& in, NvPlan& plan) {
    for (NvPlannedLogo& logo : plan.logos) {
        logo.action = NvAction::Define;
        plan.bytesSent += logo.bytes;
    }
    if (in.totalBytes) {
        plan.fits = plan.bytesSent <= *in.totalBytes;
    }
}

}  // namespace

NvPlan PlanNvDownload(const NvPlanInput& in) {
    NvPlan plan;
    plan.replaceAll = in.replaceAll;
    plan.logos = in.logos;
    plan.sent = in.sent;
    plan.link = in.link;
    if (in.replaceAll) {
        PlanReplaceAll(in, plan);
        return plan;
    }
    plan.printerKnown = in.printerKeys.has_value();
    const auto onPrinter = [&](const std::string& key) {
        return !in.printerKeys || std::find(in.printerKeys->begin(), in.printerKeys->end(), key) !=
                                      in.printerKeys->end();
    };
    const auto heldBytes = [&](int number) {
        for (const NvHeldLogo& held : in.previous)
            if (held.number == number)
                return held.bytes;
        return 0LL;  // not ours, or not known: no room counted on
    };
    Room room(plan.printerKnown ? in.freeBytes : std::nullopt);
    const int count = static_cast<int>(plan.logos.size());
    for (const NvHeldLogo& held : in.previous) {
        if (held.number > count && onPrinter(NvKeyOf(held.number))) {
            plan.dropped.push_back(NvKeyOf(held.number));
            room.Release(held.bytes);
        }
    }
    std::sort(plan.dropped.begin(), plan.dropped.end());
    for (NvPlannedLogo& logo : plan.logos) {
        const std::string key = NvKeyOf(logo.number);
        const bool present = plan.printerKnown && onPrinter(key);
        if (present && logo.digest != 0 && in.sent.Find(in.link, key) == logo.digest) {
            logo.action = NvAction::Unchanged;
            continue;
        }
        plan.bytesSent += logo.bytes;
        const long long old = present ? heldBytes(logo.number) : 0;
        logo.action =
            !room.Holds(logo.bytes) && present ? NvAction::DeleteThenDefine : NvAction::Define;
        room.Release(old);  // before the definition when deleted first, else after it
        plan.fits = plan.fits && room.Holds(logo.bytes);
        room.Take(logo.bytes);
    }
    if (!room.Known() && in.totalBytes) {
        plan.fits = plan.bytesSent <= *in.totalBytes;  // nothing can need more than all of it
    }
    return plan;
}

}  // namespace stampa
