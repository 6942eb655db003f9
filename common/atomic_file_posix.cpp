#include "common/atomic_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <random>

namespace stampa {
namespace {

// A name no other writer, in this process or another, picks at the same
// time: the process and 64 random bits (the file is created exclusively).
std::string TemporaryNameFor(const std::string& path) {
    std::random_device random;
    const std::uint64_t bits = (std::uint64_t{random()} << 32) | random();
    return path + ".tmp-" + std::to_string(::getpid()) + "-" + std::to_string(bits);
}

bool WriteAll(int fd, const unsigned char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

}  // namespace

bool ReplaceFileAtomically(const std::string& path, const std::vector<unsigned char>& bytes) {
    const std::string temporary = TemporaryNameFor(path);
    // Mode 0666 before the umask: the file gets the permissions a plain create would give it.
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) {
        return false;
    }
    bool ok = WriteAll(fd, bytes.data(), bytes.size()) && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    ok = ok && std::rename(temporary.c_str(), path.c_str()) == 0;
    if (!ok) {
        ::unlink(temporary.c_str());
    }
    return ok;
}

}  // namespace stampa
