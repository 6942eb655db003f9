// The platform's side of the serial link, behind serial_link.h: an open port
// and opening one. serial_link.cpp holds what every platform shares (the
// parallel branch, the link test, the waits).
#pragma once

#include <chrono>
#include <string>

#include "link/link_state.h"
#include "link/serial/serial_settings.h"
#include "link/transport.h"

namespace stampa {

// An open port or device. Writes go one byte a call, each within that byte's
// time-out; the first byte that cannot go in time fails the write.
class SerialPort : public Transport {
  public:
    PortKindValue Kind() const override { return kSerialLink; }
    bool CanRead() const override { return true; }

    virtual void SetTimeouts(const CommTimeouts& timeouts) = 0;

    // Waits up to `wait` until a byte from the printer is in the input queue,
    // and leaves it there.
    virtual bool InputArrives(std::chrono::milliseconds wait) = 0;
};

// Opens the device of `name` for this program alone and registers it with the
// link-test time-outs `linkTestTimeouts`. A COM port also gets its line, flow control and modem
// lines set from the six parameters, and both queues emptied. The handle, or
// kNoHandle with the reason in `*why`.
PortHandleValue OpenSerialPort(const std::string& name, bool comPort, int baud, int dataBits,
                               int stopBits, int parity, int flowMode,
                               const CommTimeouts& linkTestTimeouts, LinkError* why);

// COMn -> n; 0 for other names.
int ComNumber(const std::string& name);

}  // namespace stampa
