// Reading a descriptor within a time-out, for the links that read the
// printer's answers from one (serial port, network socket).
#pragma once

namespace stampa {

// Up to `max` bytes from `fd`, waiting at most `timeoutMs` for the first: the
// number read, 0 when nothing came in time, -1 when the descriptor failed or
// its other end closed. EINTR is retried.
int ReadWithin(int fd, unsigned char* buffer, int max, int timeoutMs);

}  // namespace stampa
