#include "link/network/network_link.h"

#include <mutex>

namespace stampa {
namespace {

std::mutex timingsMutex;
NetworkTimings timings;

}  // namespace

void SetNetworkTimings(const NetworkTimings& t) {
    std::lock_guard lock(timingsMutex);
    timings = t;
}

NetworkTimings CurrentNetworkTimings() {
    std::lock_guard lock(timingsMutex);
    return timings;
}

std::string NetworkPortName(const std::string& host, int port) {
    const bool ipv6 = host.find(':') != std::string::npos;
    return (ipv6 ? "[" + host + "]" : host) + ":" + std::to_string(port);
}

}  // namespace stampa
