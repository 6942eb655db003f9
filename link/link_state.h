// The kinds of link, link handles, and what a session knows of its link.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>

#include "link/doc_info.h"
#include "link/link_error.h"
#include "link/link_timings.h"
#include "link/parallel/parallel_settings.h"

namespace stampa {

// The kinds of link. The values are those of the configuration page's link buttons.
enum class LinkKind : std::int32_t {
    None = -1,
    Serial = 0,
    Parallel = 1,
    Driver = 2,  // the print spooler
    Usb = 3,
    Network = 4,
};
using PortKindValue = LinkKind;
inline constexpr LinkKind kNoLink = LinkKind::None;
inline constexpr LinkKind kSerialLink = LinkKind::Serial;
inline constexpr LinkKind kParallelLink = LinkKind::Parallel;
inline constexpr LinkKind kDriverLink = LinkKind::Driver;
inline constexpr LinkKind kUsbLink = LinkKind::Usb;
inline constexpr LinkKind kNetworkLink = LinkKind::Network;

// A link button's id as a kind (anything unknown: no link), and back.
inline LinkKind LinkKindOfButton(int button) {
    return button >= 0 && button <= 4 ? static_cast<LinkKind>(button) : LinkKind::None;
}
inline int ButtonOf(LinkKind kind) {
    return static_cast<int>(kind);
}

// A link handle as the pages and jobs pass it around; -1 is none.
using PortHandleValue = std::intptr_t;
inline constexpr PortHandleValue kNoHandle = -1;

// The document description every spooler document carries.
DocInfo DefaultPrintDocInfo();

// What a session knows of its printer link: the one open connection, the kind
// of link chosen on the configuration page, and what the other pages show of
// the connection. Part of each printer session (transfer/session.h).
struct LinkState {
    // The open link, kNoHandle while none is open. Written by the connect
    // workflow; read by every job, the download worker included.
    std::atomic<PortHandleValue> PortHandle{kNoHandle};

    // The kind of the session's link: the one the connect workflow opened or
    // last tried (the configuration page keeps its clicked button to itself
    // until OK); starts at serial.
    std::atomic<LinkKind> PortKind{kSerialLink};

    // A link was opened and tested by the connect workflow.
    std::atomic<bool> PortConfigured{false};

    // The port or device name of the connection, shown on the download and
    // print pages. Written by the connect workflow while no download runs.
    std::string PortName;

    // The serial link's baud rate, for the download page's time estimate; 0
    // for the other links.
    std::atomic<std::int32_t> PortBaudRate{0};

    // Passed with every spooler document ("My Document", no output file, "RAW").
    DocInfo PrintDocInfo = DefaultPrintDocInfo();

    // The waits of the links this session opens, and what its parallel link
    // is opened with.
    LinkTimings timings;
    ParallelSettings parallel;

    // Why the last open of the connect workflow failed (LinkStep::None after
    // one that succeeded). Written and read on the user-interface thread.
    LinkError OpenFailure;
};

}  // namespace stampa
