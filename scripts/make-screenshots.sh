#!/usr/bin/env bash
# The documentation's pictures of the pages (docs/images/page-*.png), in Chinese and
# English, from the samples, with a virtual printer attached on USB so that
# the sheet shows a connection. Needs the default build.
set -euo pipefail
cd "$(dirname "$0")/.."
top=$(pwd)
bin="$top/build/default/bin"
work=$(mktemp -d)
trap 'kill $printer 2>/dev/null || true; rm -rf "$work"' EXIT
cd "$work"
cp "$top/data/Stampa.ini" Stampa.ini
"$bin/stampa-samples" . >/dev/null
mkdir -p usb out zh en
"$bin/stampa-vprinter" --usb "$work/usb/lp0" --out "$work/out" >vprinter.out 2>vprinter.log &
printer=$!
for _ in $(seq 1 50); do
    grep -q '^ready' vprinter.out 2>/dev/null && break
    sleep 0.1
done
export QZUSB_DEVICE_DIR="$work/usb"
STAMPA_LANG=zh "$bin/stampa-screenshots" zh photo.bmp mono.bmp chinese.bmp
STAMPA_LANG=en "$bin/stampa-screenshots" en photo.bmp mono.bmp chinese.bmp
for page in config select preview download print; do
    cp "zh/page-$page.png" "$top/docs/images/page-$page.png"
done
for page in config preview download; do
    cp "en/page-$page.png" "$top/docs/images/page-$page-en.png"
done
echo "docs/images: pages in Chinese and English"
