#!/usr/bin/env bash
# build/windows/stampa-cli-windows-x64-VERSION.zip: stampa-cli.exe with the
# three libraries it binds by name, the README in both languages, and the
# licenses of what the files contain. Needs the Windows build (make windows).
set -euo pipefail
cd "$(dirname "$0")/.."
version=$(./scripts/project-version.sh)
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
cp packaging/windows/README.txt packaging/THIRD-PARTY-NOTICES.txt LICENSE "$out/$name/"
./scripts/collect-licenses.sh "$out/$name/licenses"
rm -f "build/windows/$name.zip"
(cd "$out" && cmake -E tar cf "../$name.zip" --format=zip "$name")
echo "build/windows/$name.zip"
