#!/usr/bin/env bash
# Runs the Windows build under Wine: pixmelt.dll, bound by name, converts the
# test pictures with every method exactly as libpixmelt.so does (compared byte
# for byte with stampa-cli convert's files).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
windows=$root/build/windows/bin
linux=$root/build/default/bin
export WINEPREFIX=$root/build/windows/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wine=/usr/lib/wine/wine64
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    "$wine" wineboot -i >/dev/null 2>&1
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
(cd "$work" && QT_QPA_PLATFORM=offscreen "$linux/stampa-samples" . >/dev/null 2>&1)
pictures=(photo.bmp chinese.bmp)
mkdir "$work/linux" "$work/windows"
for p in "${pictures[@]}"; do
    cp "$work/$p" "$work/linux/"
    cp "$work/$p" "$work/windows/"
done

# Windows: every method at two settings, in one run of the driver.
(cd "$work/windows" && "$wine" "$windows/pixmelt_convert.exe" "${pictures[@]}")

# Linux: the same conversions through stampa-cli.
methods=(threshold m3 m4 error)
for p in "${pictures[@]}"; do
    stem=${p%.bmp}
    for m in 0 1 2 3; do
        for setting in "0 0" "40 -30"; do
            read -r contrast brightness <<<"$setting"
            (cd "$work/linux" && "$linux/stampa-cli" convert "$p" --method "${methods[$m]}" \
                --contrast "$contrast" --brightness "$brightness" >/dev/null)
            mv "$work/linux/${stem}Temp.bmp" "$work/linux/$stem-m$m-c$contrast-b$brightness.bmp"
        done
    done
done

compared=0
for f in "$work"/linux/*-m*.bmp; do
    cmp "$f" "$work/windows/$(basename "$f")"
    compared=$((compared + 1))
done
echo "test-windows: pixmelt.dll and libpixmelt.so identical on $compared conversions"
