#include "cli/link_argument.h"

#include <cstdlib>
#include <vector>

namespace stampa::cli {
namespace {

std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (;;) {
        const auto at = text.find(separator, start);
        parts.push_back(text.substr(start, at - start));
        if (at == std::string::npos)
            return parts;
        start = at + 1;
    }
}

bool ParseNumber(const std::string& text, int& value) {
    char* end = nullptr;
    const long v = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || v < 0 || v > 1000000)
        return false;
    value = static_cast<int>(v);
    return true;
}

std::optional<LinkSettings> Serial(const std::vector<std::string>& p, std::string& error) {
    LinkSettings s;
    s.kind = kSerialLink;
    s.serialPort = p.size() > 1 ? p[1] : "COM1";
    if (p.size() > 2 && !ParseNumber(p[2], s.baud)) {
        error = "baud rate is not a number: " + p[2];
        return std::nullopt;
    }
    // The configuration page's defaults: None, 1 stop bit, DTR/DSR.
    s.parity = ParityCode(p.size() > 3 ? p[3] : "None");
    s.stopBits = StopBitsCode(p.size() > 4 ? p[4] : "1");
    s.flowMode = FlowModeCode(p.size() > 5 ? p[5] : "DTR/DSR");
    return s;
}

// tcp:HOST[:PORT], an IPv6 address in brackets: tcp:[::1]:9100.
std::optional<LinkSettings> Network(const std::string& rest, std::string& error) {
    LinkSettings s;
    s.kind = kNetworkLink;
    std::string port;
    if (!rest.empty() && rest.front() == '[') {
        const auto close = rest.find(']');
        if (close == std::string::npos || (close + 1 < rest.size() && rest[close + 1] != ':')) {
            error = "tcp: an IPv6 address goes in brackets, as tcp:[::1]:9100";
            return std::nullopt;
        }
        s.networkHost = rest.substr(1, close - 1);
        port = close + 1 < rest.size() ? rest.substr(close + 2) : std::string();
    } else {
        const auto colon = rest.find(':');
        s.networkHost = rest.substr(0, colon);
        port = colon == std::string::npos ? std::string() : rest.substr(colon + 1);
    }
    if (s.networkHost.empty()) {
        error = "tcp: needs a host, as tcp:192.168.1.50 or tcp:printer.local:9100";
        return std::nullopt;
    }
    if (!port.empty() &&
        (!ParseNumber(port, s.networkPort) || s.networkPort < 1 || s.networkPort > 65535)) {
        error = "tcp: the port must be 1..65535: " + port;
        return std::nullopt;
    }
    return s;
}

}  // namespace

std::optional<LinkSettings> ParseLinkArgument(const std::string& text, std::string& error) {
    const auto colon = text.find(':');
    const std::string kind = text.substr(0, colon);
    const std::string rest = colon == std::string::npos ? std::string() : text.substr(colon + 1);
    LinkSettings s;
    if (kind == "serial") {
        return Serial(Split(text, ':'), error);
    }
    if (kind == "parallel") {
        s.kind = kParallelLink;
        s.parallelPort = rest.empty() ? "LPT1" : rest;
        return s;
    }
    if (kind == "usb") {
        s.kind = kUsbLink;
        if (!ParseNumber(rest, s.usbDevice) || s.usbDevice > 7) {
            error = "USB device number must be 0..7: " + rest;
            return std::nullopt;
        }
        return s;
    }
    if (kind == "driver") {
        s.kind = kDriverLink;
        s.printerName = rest;
        if (rest.empty()) {
            error = "driver: needs a printer name";
            return std::nullopt;
        }
        return s;
    }
    if (kind == "tcp") {
        return Network(rest, error);
    }
    error = "unknown link '" + text +
            "' (serial:COM1, parallel:LPT1, usb:N, driver:PRINTER, tcp:HOST[:PORT])";
    return std::nullopt;
}

}  // namespace stampa::cli
