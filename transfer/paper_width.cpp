#include "transfer/paper_width.h"

#include "common/messages.h"
#include "common/operator.h"
#include "common/text_format.h"

namespace stampa {

std::vector<WideLogo> WiderThanPaper(const LogoStore& store, const std::vector<LogoEntry>& logos,
                                     int factor) {
    std::vector<WideLogo> wide;
    if (store.PaperDots <= 0)
        return wide;
    for (const LogoEntry& e : logos) {
        const long long printed = static_cast<long long>(e.width) * factor;
        if (printed > store.PaperDots)
            wide.push_back({e.name, static_cast<int>(printed)});
    }
    return wide;
}

bool AcceptWidths(const Session& session, const std::vector<WideLogo>& wide) {
    if (wide.empty())
        return true;
    std::string lines;
    for (const WideLogo& w : wide)
        lines += FormatText(msg::kWiderLogoLine, w.name.c_str(), w.width, session.PaperDots);
    if (session.StrictWidth) {
        ShowInformation(session, FormatText(msg::kRefuseWiderThanPaper, lines.c_str()));
        return false;
    }
    return AskOkCancel(session, FormatText(msg::kAskWiderThanPaper, lines.c_str()));
}

std::string WiderThanPaperText(const LogoStore& store, int width) {
    if (store.PaperDots <= 0 || width <= store.PaperDots)
        return {};
    return FormatText(msg::kWiderThanPaper, width, store.PaperDots);
}

}  // namespace stampa
