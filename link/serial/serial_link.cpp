#include "link/serial/serial_link.h"

#include <cctype>
#include <cstdlib>
#include <memory>
#include <mutex>

#include "link/link_error.h"
#include "link/parallel/parallel_link.h"
#include "link/port.h"
#include "link/senders.h"
#include "link/serial/serial_port.h"
#include "protocol/commands.h"

namespace stampa {
namespace {

std::shared_ptr<SerialPort> SerialConnection(PortHandleValue handle) {
    return std::dynamic_pointer_cast<SerialPort>(FindConnection(handle));
}

}  // namespace

int ComNumber(const std::string& name) {
    if (name.size() < 4 || std::toupper(static_cast<unsigned char>(name[0])) != 'C' ||
        std::toupper(static_cast<unsigned char>(name[1])) != 'O' ||
        std::toupper(static_cast<unsigned char>(name[2])) != 'M') {
        return 0;
    }
    const int n = std::atoi(name.c_str() + 3);
    return n > 0 ? n : 0;
}

PortHandleValue SerialOpen(const std::string& name, int baud, int dataBits, int stopBits,
                           int parity, int flowMode, const SerialTimings& timings,
                           const ParallelSettings& parallel, LinkError* why) {
    if (!name.empty() && (name[0] == 'L' || name[0] == 'l')) {
        return ParallelPortOpen(name, parallel, why);  // the port's registers, not a device file
    }
    const bool comPort = !name.empty() && (name[0] == 'C' || name[0] == 'c');
    const PortHandleValue handle = OpenSerialPort(name, comPort, baud, dataBits, stopBits, parity,
                                                  flowMode, timings.linkTest, why);
    if (handle == kNoHandle || !comPort) {
        return handle;
    }
    if (SerialLinkTest(handle, timings) == 0) {
        const auto port = FindConnection(handle);
        const LinkError failure = port ? port->LastError() : LinkError{};
        if (failure.step == LinkStep::Write)
            NoteLinkError(why, failure.step, failure.osError, failure.device, failure.detail);
        else
            NoteLinkError(why, LinkStep::Test, 0, SerialDevicePath(name));
        PortClose(handle);
        return kNoHandle;
    }
    return handle;
}

int SerialLinkTest(PortHandleValue handle, const SerialTimings& t) {
    const auto port = SerialConnection(handle);
    if (!port || SendStatusRequest(handle) == 0) {
        return 0;
    }
    // Wait for the answer without reading it: it stays in the input queue.
    if (!port->InputArrives(t.statusWait)) {
        return 0;
    }
    if (SendLineFeed(handle) == 0) {
        return 0;
    }
    port->SetTimeouts(t.afterTest);
    return 1;
}

}  // namespace stampa
