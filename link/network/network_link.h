// The network link: raw ESC/POS over TCP, as receipt printers on the shop's
// network take it on port 9100.
//
//  - Open: the host (numeric IPv4/IPv6 or a name) is resolved and each
//    address tried with a non-blocking connect; the whole open gives up after
//    3000 ms. SO_KEEPALIVE is on; writes never raise SIGPIPE.
//  - Write: the whole buffer, waiting with poll; when no byte could be written
//    for 5000 ms the write fails and the connection is closed.
//  - Flush: waits until the kernel's send queue is empty (SIOCOUTQ), with the
//    same no-progress limit, and checks that the peer did not reset: only then
//    have the bytes reached the printer. The jobs flush at their end. Winsock
//    does not show its send queue: on Windows Flush only checks that the
//    connection has not failed.
#pragma once

#include <chrono>
#include <string>

#include "link/link_error.h"
#include "link/link_state.h"
#include "link/link_timings.h"

namespace stampa {

inline constexpr int kDefaultNetworkPort = 9100;

// Opens a connection to `host`:`port` and registers it; the handle, or -1 when
// the name does not resolve, the printer refuses, or the `timings.connect`
// passed. A write or flush of the connection fails when no byte is taken for
// `timings.stall`. Why it failed goes to `*why`.
PortHandleValue NetworkOpen(const std::string& host, int port, const NetworkTimings& timings = {},
                            LinkError* why = nullptr);

// "HOST:PORT", with an IPv6 address in brackets ("[::1]:9100").
std::string NetworkPortName(const std::string& host, int port);

}  // namespace stampa
