// Windows' error codes in the link's terms. The links keep an errno value at
// the point of failure (LinkError::osError), so the reasons and remedies read
// the same on both platforms; a code without an errno value keeps the
// system's own words as the detail.
#pragma once

#include <string>

#include "link/link_error.h"

namespace stampa {

// The errno value for a Windows or Winsock error code; 0 for one without.
int ErrnoOfWindowsError(unsigned long code);

// A failure with the code GetLastError or WSAGetLastError gave.
LinkError WindowsLinkError(LinkStep step, unsigned long code, const std::string& device);

// Keeps it in `*why` where the caller asked for the reason.
void NoteWindowsLinkError(LinkError* why, LinkStep step, unsigned long code,
                          const std::string& device);

}  // namespace stampa
