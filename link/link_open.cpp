#include "link/link_open.h"

#include "common/messages.h"
#include "common/text_format.h"
#include "link/link_error.h"
#include "link/network/network_link.h"
#include "link/port.h"
#include "link/senders.h"
#include "link/serial/serial_link.h"
#include "link/spooler/spooler_link.h"
#include "link/usb/usb_link.h"
#include "protocol/commands.h"

namespace stampa {
namespace {

LinkOpenOutcome Failed(LinkOpenResult result, const LinkError& why = {}) {
    return {result, kNoHandle, why};
}

// Why a link test on the open `handle` failed: the connection's own reason,
// else that the printer did not take the test.
LinkError TestFailure(PortHandleValue handle, const std::string& device) {
    const auto connection = FindConnection(handle);
    const LinkError failure = connection ? connection->LastError() : LinkError{};
    return failure.step != LinkStep::None ? failure : LinkError{LinkStep::Test, 0, device, {}};
}

// USB and network: open, then the link test (LF) and ESC @.
LinkOpenOutcome TestAndInitialize(PortHandleValue handle, const std::string& device) {
    if (SendLineFeed(handle) == 0) {
        const LinkError why = TestFailure(handle, device);
        PortClose(handle);
        return Failed(LinkOpenResult::CommunicationFailed, why);
    }
    SendInitialize(handle);  // its result is not examined
    return {LinkOpenResult::Opened, handle, {}};
}

LinkOpenOutcome OpenUsb(const LinkSettings& settings) {
    LinkError why;
    const PortHandleValue handle = UsbOpen(settings.usbDevice, &why);
    if (handle == kNoHandle) {
        return Failed(LinkOpenResult::CommunicationFailed, why);
    }
    return TestAndInitialize(handle, LinkPortName(settings));
}

LinkOpenOutcome OpenNetwork(const LinkSettings& settings) {
    LinkError why;
    const PortHandleValue handle =
        NetworkOpen(settings.networkHost, settings.networkPort, settings.timings.network, &why);
    if (handle == kNoHandle) {
        return Failed(LinkOpenResult::CommunicationFailed, why);
    }
    return TestAndInitialize(handle, LinkPortName(settings));
}

// The serial link tests itself inside SerialOpen; no ESC @ follows on serial.
LinkOpenOutcome OpenSerial(const LinkSettings& s) {
    LinkError why;
    const PortHandleValue handle =
        SerialOpen(s.serialPort, s.baud, s.dataBits, s.stopBits, s.parity, s.flowMode,
                   s.timings.serial, s.parallel, &why);
    if (handle == kNoHandle) {
        return Failed(LinkOpenResult::CommunicationFailed, why);
    }
    return {LinkOpenResult::Opened, handle, {}};
}

// One document holds the link test (LF), a second one ESC @. A document the
// spooler refuses to start or end closes the printer, without a message.
LinkOpenOutcome OpenDriver(const LinkSettings& s, const DocInfo& info) {
    LinkError why;
    const PortHandleValue handle = OpenPrinter(s.printerName, &why);
    if (handle == kNoHandle) {
        return Failed(LinkOpenResult::DriverNotOpened, why);
    }
    auto refused = [handle, &s] {
        const LinkError reason = TestFailure(handle, s.printerName);
        PortClose(handle);
        return Failed(LinkOpenResult::DocumentRefused, reason);
    };
    if (PortStartDocument(handle, info) == 0)
        return refused();
    SendLineFeed(handle);
    if (PortEndDocument(handle) == 0)
        return refused();
    if (PortStartDocument(handle, info) == 0)
        return refused();
    SendInitialize(handle);  // its result is not examined
    if (PortEndDocument(handle) == 0)
        return refused();
    return {LinkOpenResult::Opened, handle, {}};
}

// The parallel branch of SerialOpen tests the link with one LF; then ESC @.
LinkOpenOutcome OpenParallel(const LinkSettings& s) {
    LinkError why;
    const PortHandleValue handle =
        SerialOpen(s.parallelPort, 0, 0, 0, 0, 0, s.timings.serial, s.parallel, &why);
    if (handle == kNoHandle) {
        return Failed(LinkOpenResult::CommunicationFailed, why);
    }
    SendInitialize(handle);
    return {LinkOpenResult::Opened, handle, {}};
}

}  // namespace

int StopBitsCode(const std::string& text) {
    return text == "2" ? 2 : 0;
}

int ParityCode(const std::string& text) {
    if (text == "Even")
        return 2;
    if (text == "Odd")
        return 1;
    return 0;
}

int FlowModeCode(const std::string& text) {
    if (text == "Xon/Xoff")
        return 1;
    if (text == "DTR/DSR")
        return 2;
    return 0;
}

LinkOpenOutcome OpenAndTestLink(const LinkSettings& settings, const DocInfo& documentInfo) {
    switch (settings.kind) {
        case kSerialLink:
            return OpenSerial(settings);
        case kUsbLink:
            return OpenUsb(settings);
        case kParallelLink:
            return OpenParallel(settings);
        case kDriverLink:
            return OpenDriver(settings, documentInfo);
        case kNetworkLink:
            return OpenNetwork(settings);
        default:  // kNoLink, or no kind of link at all
            return Failed(LinkOpenResult::NoLinkChosen);
    }
}

std::string UsbDeviceName(int device) {
    return FormatText(msg::kUsbDeviceFormat, device);
}

std::string LinkPortName(const LinkSettings& settings) {
    switch (settings.kind) {
        case kSerialLink:
            return settings.serialPort;
        case kParallelLink:
            return settings.parallelPort;
        case kDriverLink:
            return msg::kDriverPortName;
        case kUsbLink:
            return UsbDeviceName(settings.usbDevice);
        case kNetworkLink:
            return NetworkPortName(settings.networkHost, settings.networkPort);
        default:
            return {};
    }
}

}  // namespace stampa
