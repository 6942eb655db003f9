// Whole-call timing of `pixmelt` (read, convert, write), loaded by name the
// way the program loads it, for the picture sizes the preview page and the
// download job meet, with every method.
#include <benchmark/benchmark.h>
#include <dlfcn.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "pixmelt/pixmelt.h"

namespace {

PixmeltFunction BindPixmelt() {
    void* library = dlopen(PIXMELT_LIBRARY, RTLD_NOW);
    if (library == nullptr) {
        std::fprintf(stderr, "cannot load %s: %s\n", PIXMELT_LIBRARY, dlerror());
        std::exit(1);
    }
    return reinterpret_cast<PixmeltFunction>(dlsym(library, "pixmelt"));
}

void Put32(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

// A photo-like 24-bit picture: smooth gradients with some noise.
std::string MakePicture(const std::string& folder, int width, int height) {
    const std::uint32_t stride = ((24u * width + 31) / 32) * 4;
    std::vector<std::uint8_t> file(54 + static_cast<std::size_t>(stride) * height, 0);
    file[0] = 'B';
    file[1] = 'M';
    Put32(file, 2, static_cast<std::uint32_t>(file.size()));
    Put32(file, 10, 54);
    Put32(file, 14, 40);
    Put32(file, 18, static_cast<std::uint32_t>(width));
    Put32(file, 22, static_cast<std::uint32_t>(height));
    file[26] = 1;
    file[28] = 24;
    std::uint32_t noise = 12345;
    for (int y = 0; y < height; ++y) {
        std::uint8_t* row = &file[54 + static_cast<std::size_t>(y) * stride];
        for (int x = 0; x < width; ++x) {
            noise = noise * 1664525u + 1013904223u;
            const int n = static_cast<int>((noise >> 24) & 31);
            row[3 * x] = static_cast<std::uint8_t>((x * 255 / width + n) & 0xFF);
            row[3 * x + 1] = static_cast<std::uint8_t>((y * 255 / height + n) & 0xFF);
            row[3 * x + 2] =
                static_cast<std::uint8_t>(((x + y) * 127 / (width + height) + n * 3) & 0xFF);
        }
    }
    const std::string path =
        folder + "/bench-" + std::to_string(width) + "x" + std::to_string(height) + ".bmp";
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(file.data()),
               static_cast<std::streamsize>(file.size()));
    return path;
}

const std::string& Folder() {
    static const std::string folder = [] {
        const char* env = std::getenv("PIXMELT_BENCH_DIR");
        std::string f = env != nullptr ? env : "/tmp/pixmelt-bench";
        std::filesystem::create_directories(f);
        return f;
    }();
    return folder;
}

void Convert(benchmark::State& state) {
    static const PixmeltFunction pixmelt = BindPixmelt();
    const int width = static_cast<int>(state.range(0));
    const int height = static_cast<int>(state.range(1));
    const int method = static_cast<int>(state.range(2));
    const std::string input = MakePicture(Folder(), width, height);
    char output[PIXMELT_OUTPUT_PATH_SIZE];
    for (auto _ : state) {
        std::memset(output, 0, sizeof output);
        if (pixmelt(input.c_str(), output, method, 0, 0) != 1) {
            state.SkipWithError("pixmelt failed");
            break;
        }
    }
    state.SetLabel("method " + std::to_string(method));
}

void Sizes(benchmark::internal::Benchmark* b) {
    for (auto [w, h] : {std::pair{576, 400}, {2000, 1000}, {8184, 2304}}) {
        for (int method = 0; method <= 3; ++method)
            b->Args({w, h, method});
    }
}

BENCHMARK(Convert)->Apply(Sizes)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
