// The BMP acceptance checks and the geometry read on any bytes.
#include "fuzz_support.h"
#include "logos/bitmap_reader.h"
#include "logos/logo_lists.h"
#include "workflows/reset_state.h"

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
