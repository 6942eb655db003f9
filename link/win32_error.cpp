#include "link/win32_error.h"

#include <winsock2.h>
// After winsock2.h, so that it does not bring the old winsock.h.
#include <windows.h>

#include <cerrno>

namespace stampa {
namespace {

std::string SystemText(unsigned long code) {
    char* text = nullptr;
    const DWORD n = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string words = n > 0 ? std::string(text, n) : "Windows error " + std::to_string(code);
    LocalFree(text);
    while (!words.empty() && (words.back() == '\n' || words.back() == '\r' || words.back() == ' '))
        words.pop_back();
    return words;
}

}  // namespace

int ErrnoOfWindowsError(unsigned long code) {
    switch (code) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_NAME:
        case ERROR_INVALID_PRINTER_NAME:
            return ENOENT;
        case ERROR_ACCESS_DENIED:
            return EACCES;
        case ERROR_SHARING_VIOLATION:
        case ERROR_BUSY:
            return EBUSY;
        case ERROR_SEM_TIMEOUT:
        case WAIT_TIMEOUT:
        case WSAETIMEDOUT:
            return ETIMEDOUT;
        case ERROR_GEN_FAILURE:
        case ERROR_DEVICE_NOT_CONNECTED:
        case ERROR_NOT_READY:
        case ERROR_OPERATION_ABORTED:
            return EIO;
        case ERROR_BROKEN_PIPE:
        case ERROR_NO_DATA:
            return EPIPE;
        case WSAECONNREFUSED:
            return ECONNREFUSED;
        case WSAEHOSTUNREACH:
            return EHOSTUNREACH;
        case WSAENETUNREACH:
            return ENETUNREACH;
        case WSAECONNRESET:
        case WSAECONNABORTED:
            return ECONNRESET;
        default:
            return 0;
    }
}

LinkError WindowsLinkError(LinkStep step, unsigned long code, const std::string& device) {
    const int mapped = ErrnoOfWindowsError(code);
    return LinkError{step, mapped, device,
                     mapped == 0 && code != 0 ? SystemText(code) : std::string()};
}

void NoteWindowsLinkError(LinkError* why, LinkStep step, unsigned long code,
                          const std::string& device) {
    if (why != nullptr)
        *why = WindowsLinkError(step, code, device);
}

}  // namespace stampa
