// The reason line stampa-cli adds after a failed link: device, step, the
// system's reason, and the remedy the operator can act on.
#include "link/link_error.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <memory>

#include "link/port.h"
#include "link/transport.h"

namespace stampa {
namespace {

TEST(LinkError, EachCommonReasonGetsItsRemedy) {
    const struct {
        LinkStep step;
        int error;
        const char* device;
        const char* expected;
    } cases[] = {
        {LinkStep::Open, ENOENT, "/dev/usb/lp7",
         "/dev/usb/lp7: opening failed: No such file or directory — no such device: is the "
         "printer plugged in and switched on?"},
        {LinkStep::Open, EACCES, "/dev/usb/lp0", "join the group 'lp'"},
        {LinkStep::Open, EACCES, "/dev/ttyS0", "join the group 'dialout'"},
        {LinkStep::Lock, EWOULDBLOCK, "/dev/ttyS0", "taking the device failed"},
        {LinkStep::Lock, EWOULDBLOCK, "/dev/ttyS0", "another program holds it"},
        {LinkStep::Write, ETIMEDOUT, "/dev/usb/lp0", "the printer stopped taking data"},
        {LinkStep::Open, ETIMEDOUT, "192.0.2.1:9100", "no connection: is the printer switched on"},
        {LinkStep::Open, ECONNREFUSED, "127.0.0.1:1", "the printer refused the connection"},
        {LinkStep::Write, ECONNRESET, "127.0.0.1:9100", "the device went away"},
        {LinkStep::Test, 0, "/dev/ttyS0", "the link test failed — the printer did not answer"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.expected);
        EXPECT_NE(DescribeLinkError({c.step, c.error, c.device, {}}).find(c.expected),
                  std::string::npos)
            << DescribeLinkError({c.step, c.error, c.device, {}});
    }
    EXPECT_EQ(DescribeLinkError({LinkStep::Write, 0, "RP-820_Test", "client-error-not-found"}),
              "RP-820_Test: sending failed: client-error-not-found");
}

// A connection whose writes fail with a broken pipe.
class BrokenPipe final : public Transport {
  public:
    PortKindValue Kind() const override { return kNetworkLink; }
    int Write(const unsigned char*, int) override {
        NoteError(LinkStep::Write, EPIPE, "b");
        return 0;
    }
    int Close() override { return 1; }
    bool Closed() const override { return false; }
};

TEST(LinkError, EachSessionKeepsItsOwnLinksFailure) {
    LinkError why;
    NoteLinkError(nullptr, LinkStep::Open, ENOENT, "nobody asked");  // not kept anywhere
    NoteLinkError(&why, LinkStep::Open, ENOENT, "a");
    LinkState failedOpen, working;
    failedOpen.OpenFailure = why;
    working.PortHandle = 4242;
    RegisterConnection(working.PortHandle, std::make_shared<BrokenPipe>());
    EXPECT_EQ(LastLinkError(working).step, LinkStep::None) << "nothing failed yet";
    const unsigned char byte = 0x0A;
    EXPECT_EQ(PortWrite(working.PortHandle, &byte, 1), 0);
    EXPECT_EQ(LastLinkError(working).osError, EPIPE) << "the connection's own failure";
    EXPECT_EQ(LastLinkError(failedOpen).device, "a") << "the other session keeps its own";
    EXPECT_EQ(PortBytesWritten(working.PortHandle), 0);
    PortClose(working.PortHandle);
}

}  // namespace
}  // namespace stampa
