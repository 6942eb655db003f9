// JPEG through libjpeg-turbo (Debian's libjpeg62-turbo). Its errors end in
// longjmp back here; nothing with a destructor lives between setjmp and the
// library calls, and every warning (a premature end of the data, a corrupt
// scan) counts as an error.
#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

#include "logos/jpeg_decode.h"

namespace stampa {
namespace {

struct ErrorTrap {
    jpeg_error_mgr manager;
    std::jmp_buf back;
    int warnings = 0;
};

void Fail(j_common_ptr info) {
    std::longjmp(reinterpret_cast<ErrorTrap*>(info->err)->back, 1);
}

void Message(j_common_ptr info, int level) {
    if (level < 0)
        ++reinterpret_cast<ErrorTrap*>(info->err)->warnings;
}

void Quiet(j_common_ptr) {}

// Reads the header, and with `pixels` the whole picture into it (RGB rows,
// sized by the caller from the header). False on any error or warning.
bool Read(const std::vector<unsigned char>& jpeg, JpegSize& size, unsigned char* pixels) {
    jpeg_decompress_struct info{};
    ErrorTrap trap{};
    info.err = jpeg_std_error(&trap.manager);
    trap.manager.error_exit = Fail;
    trap.manager.emit_message = Message;
    trap.manager.output_message = Quiet;
    if (setjmp(trap.back) != 0) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, jpeg.data(), static_cast<unsigned long>(jpeg.size()));
    jpeg_read_header(&info, TRUE);
    size.width = static_cast<int>(info.image_width);
    size.height = static_cast<int>(info.image_height);
    if (pixels != nullptr) {
        info.out_color_space = JCS_RGB;
        jpeg_start_decompress(&info);
        if (info.output_components != 3 || static_cast<int>(info.output_width) != size.width) {
            jpeg_destroy_decompress(&info);
            return false;
        }
        while (info.output_scanline < info.output_height) {
            JSAMPROW row = pixels + static_cast<std::size_t>(info.output_scanline) * size.width * 3;
            jpeg_read_scanlines(&info, &row, 1);
        }
        jpeg_finish_decompress(&info);
    }
    jpeg_destroy_decompress(&info);
    return trap.warnings == 0;
}

}  // namespace

bool JpegSupported() {
    return true;
}

std::optional<JpegSize> JpegHeaderSize(const std::vector<unsigned char>& jpeg) {
    JpegSize size;
    if (!Read(jpeg, size, nullptr))
        return std::nullopt;
    return size;
}

std::optional<RgbPicture> DecodeJpeg(const std::vector<unsigned char>& jpeg) {
    const auto size = JpegHeaderSize(jpeg);
    if (!size || size->width < 1 || size->height < 1)
        return std::nullopt;
    RgbPicture picture{size->width, size->height, {}};
    picture.pixels.resize(std::size_t(size->width) * std::size_t(size->height) * 3);
    JpegSize again;
    if (!Read(jpeg, again, picture.pixels.data()))
        return std::nullopt;
    return picture;
}

}  // namespace stampa
