// What the fuzz targets share: a quiet operator, and the input written to a
// file (the readers under test take paths, as the program gives them).
#pragma once

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "common/operator.h"

namespace stampa::fuzz {

class QuietOperator final : public IOperator {
  public:
    Answer Show(MessageKind, const std::string&) override { return Answer::Ok; }
};

inline void InstallQuietOperator() {
    static QuietOperator quiet;
    SetOperator(&quiet);
}

// A file of this process holding the input; rewritten for every run.
inline std::string WriteInput(const std::uint8_t* data, std::size_t size,
                              const char* extension = ".bmp") {
    static const std::string path = "/tmp/stampa-fuzz-" + std::to_string(getpid()) + extension;
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (f != nullptr) {
        std::fwrite(data, 1, size, f);
        std::fclose(f);
    }
    return path;
}

}  // namespace stampa::fuzz
