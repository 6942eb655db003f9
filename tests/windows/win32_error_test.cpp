#include "link/win32_error.h"

#include <winsock2.h>
// After winsock2.h, so that it does not bring the old winsock.h.
#include <windows.h>

#include <gtest/gtest.h>

#include <cerrno>

namespace stampa {
namespace {

// Windows' codes become the errno values the reasons and remedies know, so a
// failure reads the same as on Linux; a code without one keeps Windows' words.
TEST(Win32Error, CodesReadAsOnLinux) {
    const struct {
        unsigned long code;
        int errnoValue;
    } table[] = {
        {ERROR_FILE_NOT_FOUND, ENOENT},   {ERROR_ACCESS_DENIED, EACCES},
        {ERROR_SHARING_VIOLATION, EBUSY}, {ERROR_SEM_TIMEOUT, ETIMEDOUT},
        {WSAETIMEDOUT, ETIMEDOUT},        {WSAECONNREFUSED, ECONNREFUSED},
        {WSAECONNRESET, ECONNRESET},      {ERROR_DEVICE_NOT_CONNECTED, EIO},
        {ERROR_INVALID_FUNCTION, 0},
    };
    for (const auto& row : table) {
        EXPECT_EQ(ErrnoOfWindowsError(row.code), row.errnoValue) << row.code;
    }

    const std::string refused =
        DescribeLinkError(WindowsLinkError(LinkStep::Open, WSAECONNREFUSED, "127.0.0.1:9100"));
    EXPECT_NE(refused.find("Connection refused"), std::string::npos) << refused;

    LinkError why;
    NoteWindowsLinkError(&why, LinkStep::Write, ERROR_INVALID_FUNCTION, "COM1");
    EXPECT_EQ(why.osError, 0);
    EXPECT_FALSE(why.detail.empty()) << "Windows' own words for it";
}

}  // namespace
}  // namespace stampa
