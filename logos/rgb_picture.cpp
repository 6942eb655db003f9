#include "logos/rgb_picture.h"

#include <cstdint>

#include "common/atomic_file.h"

namespace stampa {
namespace {

void PutLittleEndian(std::vector<unsigned char>& out, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        out[at + i] = static_cast<unsigned char>(value >> (8 * i));
}

}  // namespace

bool WriteTrueColorBmp(const std::string& path, const RgbPicture& picture) {
    const std::size_t stride = (static_cast<std::size_t>(picture.width) * 3 + 3) / 4 * 4;
    const std::size_t size = 54 + stride * static_cast<std::size_t>(picture.height);
    std::vector<unsigned char> file(size, 0);
    file[0] = 'B';
    file[1] = 'M';
    PutLittleEndian(file, 2, static_cast<std::uint32_t>(size));
    PutLittleEndian(file, 10, 54);
    PutLittleEndian(file, 14, 40);
    PutLittleEndian(file, 18, static_cast<std::uint32_t>(picture.width));
    PutLittleEndian(file, 22, static_cast<std::uint32_t>(picture.height));
    file[26] = 1;   // planes
    file[28] = 24;  // bits a pixel
    PutLittleEndian(file, 34, static_cast<std::uint32_t>(stride * picture.height));
    for (int y = 0; y < picture.height; ++y) {
        const std::size_t row = 54 + stride * static_cast<std::size_t>(picture.height - 1 - y);
        for (int x = 0; x < picture.width; ++x) {
            const unsigned char* in =
                &picture.pixels[(static_cast<std::size_t>(y) * picture.width + x) * 3];
            file[row + x * 3] = in[2];
            file[row + x * 3 + 1] = in[1];
            file[row + x * 3 + 2] = in[0];
        }
    }
    return ReplaceFileAtomically(path, file);
}

}  // namespace stampa
