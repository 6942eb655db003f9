// The BMP acceptance checks and the geometry read on any bytes.
#include "app/reset_state.h"
#include "fuzz_support.h"
#include "logos/bitmap_reader.h"
#include "logos/logo_lists.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    stampa::fuzz::InstallQuietOperator();
    const std::string path = stampa::fuzz::WriteInput(data, size);
    stampa::IsMonoBitmap(path);
    stampa::IsTrueColorBitmap(path);
    stampa::SelectedLogos.RemoveAll();
    stampa::SelectedLogos.Append(0, "f.bmp", path, path, 0, 0, 0, 0);
    stampa::ReadBitmapGeometry(0);
    return 0;
}
