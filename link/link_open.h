// Opening a link and proving that the printer answers: the sequence behind the
// configuration page's OK, shared with stampa-cli.
//
//   open by kind -> link test -> ESC @ (every kind but serial)
//
// On the spooler link the test (one LF) is one document and ESC @ a second one.
#pragma once

#include <string>

#include "link/doc_info.h"
#include "link/link_error.h"
#include "link/link_state.h"
#include "link/link_timings.h"

namespace stampa {

// The settings of one link, as the configuration page turns its texts into them.
struct LinkSettings {
    PortKindValue kind = kSerialLink;
    // serial
    std::string serialPort = "COM1";
    int baud = 9600;
    int dataBits = 8;
    int stopBits = 0;  // code: 0 one stop bit, 2 two
    int parity = 0;    // code: 0 none, 1 odd, 2 even
    int flowMode = 2;  // 0 RTS/CTS, 1 Xon/Xoff, 2 DTR/DSR
    // parallel
    std::string parallelPort = "LPT1";
    // spooler
    std::string printerName;
    // USB
    int usbDevice = 0;
    // network
    std::string networkHost;
    int networkPort = 9100;
    // the waits of the serial and network links and the parallel link's
    // driver settings (the connect workflow gives the session's)
    LinkTimings timings;
    ParallelSettings parallel;
};

// The texts of the configuration page as codes.
int StopBitsCode(const std::string& text);  // "2" -> 2, anything else -> 0
int ParityCode(const std::string& text);    // "Even" -> 2, "Odd" -> 1, else 0
int FlowModeCode(const std::string& text);  // "Xon/Xoff" -> 1, "DTR/DSR" -> 2, else 0

enum class LinkOpenResult {
    Opened,               // the handle is open and tested
    NoLinkChosen,         // kind -1, or no kind of link
    DriverNotOpened,      // the spooler did not open the printer
    DocumentRefused,      // the spooler refused to start or end a document
    CommunicationFailed,  // open or link test failed
    NotNow,               // not tried: a download is sending on the open link
};

struct LinkOpenOutcome {
    LinkOpenResult result = LinkOpenResult::CommunicationFailed;
    PortHandleValue handle = kNoHandle;  // open only when result is Opened
    LinkError error;                     // why it failed, where the link said
};

// Opens and tests the link of `settings`. Whatever fails leaves no link open.
// `documentInfo` describes the spooler documents of the driver link.
LinkOpenOutcome OpenAndTestLink(const LinkSettings& settings, const DocInfo& documentInfo);

// The name the pages show for the port of an open link: the serial or parallel
// port's name, "Driver", the USB device's list text "QZUSB-n", or "HOST:PORT".
std::string LinkPortName(const LinkSettings& settings);

// A USB device as the configuration page lists it: "QZUSB-n".
std::string UsbDeviceName(int device);

}  // namespace stampa
