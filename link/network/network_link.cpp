#include "link/network/network_link.h"

namespace stampa {

std::string NetworkPortName(const std::string& host, int port) {
    const bool ipv6 = host.find(':') != std::string::npos;
    return (ipv6 ? "[" + host + "]" : host) + ":" + std::to_string(port);
}

}  // namespace stampa
