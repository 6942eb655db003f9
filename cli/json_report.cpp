#include "cli/json_report.h"

#include <cstdio>

namespace stampa::cli {

void PrintJson(const Json& object) {
    // Invalid UTF-8 (a name from another code page) is replaced, never thrown.
    const std::string line = object.dump(-1, ' ', false, Json::error_handler_t::replace);
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
}

Json OutcomeJson(const LinkOutcome& o) {
    Json object = {{"link", o.link}, {"ok", o.ok}, {"bytes", o.bytes}, {"seconds", o.seconds}};
    if (!o.ok) {
        object["message"] = o.message;
        if (!o.reason.empty())
            object["reason"] = o.reason;
    }
    if (o.nv) {
        object["defined"] = o.nv->defined;
        object["unchanged"] = o.nv->unchanged;
        object["deleted"] = o.nv->deleted;
        object["nvWrites"] = o.nv->nvWrites;
    }
    return object;
}

}  // namespace stampa::cli
