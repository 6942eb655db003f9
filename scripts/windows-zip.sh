#!/usr/bin/env bash
# build/windows/stampa-cli-windows-x64-VERSION.zip: stampa-cli.exe with the
# three libraries it binds by name, the README in both languages, and the
# licenses of what the files contain. Needs the Windows build (make windows).
set -euo pipefail
cd "$(dirname "$0")/.."
version=$(sed -n 's/^project(Stampa VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
bin=build/windows/bin
name=stampa-cli-windows-x64-$version
out=build/windows/zip
rm -rf "$out"
mkdir -p "$out/$name/licenses"
cp "$bin/stampa-cli.exe" "$bin/pixmelt.dll" "$bin/QzUsbInt.dll" "$bin/DLPortIO.dll" "$out/$name/"
# Without their debugging information: a tenth of the size, the same program.
if command -v x86_64-w64-mingw32-strip >/dev/null; then
    x86_64-w64-mingw32-strip "$out/$name"/*.exe "$out/$name"/*.dll
fi
cp packaging/windows/README.txt packaging/THIRD-PARTY-NOTICES.txt "$out/$name/"
for package in libstb-dev nlohmann-json3-dev libcli11-dev libxxhash-dev; do
    cp "/usr/share/doc/$package/copyright" "$out/$name/licenses/$package.txt"
done
cp data/printer-db-LICENSE.md "$out/$name/licenses/printer-db-CC-BY-4.0.md"
rm -f "build/windows/$name.zip"
(cd "$out" && cmake -E tar cf "../$name.zip" --format=zip "$name")
echo "build/windows/$name.zip"
