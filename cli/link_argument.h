// The --link argument: serial:COM1[:BAUD[:PARITY[:STOPBITS[:FLOW]]]],
// parallel:LPT1, usb:N, driver:PRINTER, tcp:HOST[:PORT] (port 9100 when
// omitted; an IPv6 address in brackets, tcp:[::1]:9100).
#pragma once

#include <optional>
#include <string>

#include "link/link_open.h"

namespace stampa::cli {

// The settings, or nullopt with `error` saying what is wrong.
std::optional<LinkSettings> ParseLinkArgument(const std::string& text, std::string& error);

}  // namespace stampa::cli
