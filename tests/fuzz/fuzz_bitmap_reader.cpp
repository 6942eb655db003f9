// The BMP acceptance checks and the geometry read on any bytes.
#include "fuzz_support.h"
#include "logos/bitmap_reader.h"
#include "logos/logo_list.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    stampa::fuzz::InstallQuietOperator();
    const std::string path = stampa::fuzz::WriteInput(data, size);
    stampa::IsMonoBitmap(path);
    stampa::IsTrueColorBitmap(path);
    stampa::CLogoList picked;
    picked.Append(0, "f.bmp", path, path, 0, 0, 0, 0);
    stampa::ReadBitmapGeometry(picked, 0);
    return 0;
}
