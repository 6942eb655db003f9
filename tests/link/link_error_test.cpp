// The reason line stampa-cli adds after a failed link: device, step, the
// system's reason, and the remedy the operator can act on.
#include "link/link_error.h"

#include <gtest/gtest.h>

#include <cerrno>

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

TEST(LinkError, TheLastFailureIsKeptUntilCleared) {
    NoteLinkError(LinkStep::Open, ENOENT, "a");
    NoteLinkError(LinkStep::Write, EPIPE, "b");
    EXPECT_EQ(LastLinkError().device, "b");
    EXPECT_EQ(LastLinkError().osError, EPIPE);
    ClearLinkError();
    EXPECT_EQ(LastLinkError().step, LinkStep::None);
}

}  // namespace
}  // namespace stampa
