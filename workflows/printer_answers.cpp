#include "workflows/printer_answers.h"

#include "common/language.h"
#include "common/messages.h"
#include "common/text_format.h"
#include "link/link_state.h"
#include "link/port.h"
#include "transfer/nv_rows.h"
#include "transfer/session.h"

namespace stampa {

bool CanAskPrinter(const Session& session) {
    return session.PortConfigured && session.DownloadIdle && PortCanRead(session.PortHandle);
}

namespace {

// What the status says: its causes, or "正常" when there are none.
std::string StatusCauses(const PrinterStatus& status) {
    std::string causes;
    const auto add = [&causes](bool applies, const char* text) {
        if (!applies)
            return;
        if (!causes.empty())
            causes += Localize(msg::kStatusSeparator);
        causes += Localize(text);
    };
    add(status.paperEnd, msg::kStatusPaperEnd);
    add(status.paperNearEnd && !status.paperEnd, msg::kStatusPaperNearEnd);
    add(status.coverOpen, msg::kStatusCoverOpen);
    add(status.offline, msg::kStatusOffline);
    return causes.empty() ? Localize(msg::kStatusNormal) : causes;
}

}  // namespace

std::string StatusLineOf(const PrinterStatus& status) {
    return FormatText(msg::kPrinterStatusFormat, StatusCauses(status).c_str());
}

std::string PrinterStatusLine(const Session& session) {
    if (!CanAskPrinter(session)) {
        return {};
    }
    PrinterStatus status;
    switch (QueryStatus(session.PortHandle, status)) {
        case QueryResult::Answered:  // says which link answered: the open one
            return session.PortName.empty()
                       ? StatusLineOf(status)
                       : FormatText(msg::kPrinterStatusOnFormat, session.PortName.c_str(),
                                    StatusCauses(status).c_str());
        case QueryResult::Garbled:
            return Localize(msg::kPrinterAnswerGarbled);
        default:
            return Localize(msg::kPrinterSilent);
    }
}

QueryResult RefreshNvCapacity(Session& session) {
    if (!CanAskPrinter(session)) {
        return QueryResult::CannotRead;
    }
    long long total = 0;
    long long free = 0;
    QueryResult result = QueryNvCapacity(session.PortHandle, false, total);
    if (result == QueryResult::Answered) {
        result = QueryNvCapacity(session.PortHandle, true, free);
    }
    if (result == QueryResult::Answered) {
        session.NvCapacityTotal = total;
        session.NvCapacityFree = free;
    }
    return result;
}

QueryResult RefreshPrinterNvKeys(Session& session) {
    if (!CanAskPrinter(session)) {
        return QueryResult::CannotRead;
    }
    std::vector<std::string> keys;
    const QueryResult result = QueryNvKeys(session.PortHandle, keys);
    if (result == QueryResult::Answered) {
        session.SetPrinterNvKeys(std::move(keys));
    } else {
        session.SetPrinterNvKeys(std::nullopt);
    }
    return result;
}

}  // namespace stampa
