// stampa-cli's output for scripts (--json): one JSON object per printer on
// stdout, one line each, nothing else there; progress, questions and messages
// stay on stderr, and the exit codes are those of the text output.
#pragma once

#include <nlohmann/json.hpp>

#include "cli/fleet.h"

namespace stampa::cli {

using Json = nlohmann::ordered_json;

// Writes `object` as one line on stdout.
void PrintJson(const Json& object);

// A job's result on one printer: link, ok, bytes, seconds; the message and
// the reason when it failed; what an NV download defined, left unchanged and
// deleted, and its NV writes, where it made them.
Json OutcomeJson(const LinkOutcome& outcome);

}  // namespace stampa::cli
