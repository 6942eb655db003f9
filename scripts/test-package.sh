#!/usr/bin/env bash
# The Debian package as a technician gets it: checked (lintian, the desktop
# entry, the AppStream metainfo), installed with apt-get, used from the
# installed files alone — no build folder, no LD_LIBRARY_PATH — and removed
# again, leaving the same packages installed as before. Needs root (or sudo).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
version=$("$root/scripts/project-version.sh")
deb=$root/build/stampa_${version}_amd64.deb
[ -f "$deb" ] || { echo "test-package: $deb missing (make package)" >&2; exit 1; }
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO=sudo

work=$(mktemp -d /tmp/stampa-package.XXXXXX)
trap 'rm -rf "$work"' EXIT
fail() { echo "test-package: FAILED: $*" >&2; exit 1; }
step() { echo "test-package: $*"; }

# What the package holds, checked before it is installed.
lintian --fail-on error,warning "$deb" >"$work/lintian.log" 2>&1 ||
    { cat "$work/lintian.log" >&2; fail "lintian"; }
mkdir -p "$work/unpacked"
dpkg-deb -x "$deb" "$work/unpacked"
desktop-file-validate "$work/unpacked/usr/share/applications/org.stampa.Stampa.desktop" ||
    fail "desktop-file-validate"
appstreamcli validate --no-net "$work/unpacked/usr/share/metainfo/org.stampa.Stampa.metainfo.xml" ||
    fail "appstreamcli validate"
step "lintian, desktop-file-validate and appstreamcli find nothing wrong"

before=$(dpkg-query -W -f '${Package}\n' | sort)
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q "$deb" >"$work/apt.log" 2>&1 ||
    { cat "$work/apt.log" >&2; fail "apt-get install"; }
step "installed with apt-get"

# From here on only what the package put on the machine, run as a user would.
(
    cd "$work"
    export PATH=/usr/bin:/bin LANG=C.UTF-8 QT_QPA_PLATFORM=offscreen HOME=$work/home
    unset LD_LIBRARY_PATH
    mkdir -p "$HOME"
    printer=""
    trap '[ -z "$printer" ] || kill "$printer" 2>/dev/null || true' EXIT
    for program in stampa stampa-cli stampa-vprinter; do
        [ "$(command -v "$program")" = "/usr/bin/$program" ] || fail "$program is not /usr/bin/$program"
        "$program" --version | grep -qF " V$version (" || fail "$program --version"
    done
    step "stampa, stampa-cli and stampa-vprinter --version: V$version"

    # A logo: an 'F', black on white, 24 bits a pixel.
    python3 - <<'PY'
import struct
w, h = 40, 24
rows = []
for y in range(h):
    row = b""
    for x in range(w):
        dark = 4 <= x < 10 or (y >= 16 and x < 34) or (8 <= y < 12 and x < 26)
        row += b"\x00\x00\x00" if dark else b"\xff\xff\xff"
    rows.append(row + b"\x00" * (-len(row) % 4))
pixels = b"".join(rows)
header = struct.pack("<2sIHHIIiiHHIIiiII", b"BM", 54 + len(pixels), 0, 0, 54, 40, w, h, 1, 24, 0,
                     len(pixels), 2835, 2835, 0, 0)
open("logo.bmp", "wb").write(header + pixels)
PY
    stampa-vprinter --tcp 127.0.0.1:0 --state state.bin --out receipts >printer.log 2>&1 &
    printer=$!
    for _ in $(seq 1 100); do grep -q '^ready' printer.log && break; sleep 0.1; done
    port=$(sed -n 's/^tcp: //p' printer.log)
    [ -n "$port" ] || { cat printer.log >&2; fail "stampa-vprinter did not start"; }
    stampa-cli download --link "tcp:$port" --memory flash --yes --json logo.bmp >download.json ||
        fail "stampa-cli download: $(cat download.json)"
    grep -q '"ok":true' download.json || fail "download: $(cat download.json)"
    for _ in $(seq 1 50); do
        stampa-vprinter show-flash --state state.bin --out shown >/dev/null 2>&1 || true
        [ -f shown/flash-001.png ] && break
        sleep 0.1
    done
    [ -f shown/flash-001.png ] || fail "the virtual printer holds no logo"
    kill "$printer"
    printer=""
    step "stampa-cli downloaded a logo into stampa-vprinter's FLASH (tcp:$port)"

    # The libraries come from the package's own folder.
    LD_DEBUG=files stampa-cli ports 2>ports.debug >/dev/null || true
    grep -q 'file=/usr/lib/stampa/libQzUsbInt.so' ports.debug || fail "libQzUsbInt.so not from /usr/lib/stampa"

    [ "$(man -w stampa-cli)" = /usr/share/man/man1/stampa-cli.1.gz ] || fail "man -w stampa-cli"
    man -w stampa >/dev/null && man -w stampa-vprinter >/dev/null || fail "man -w"
    [ "$(man -w -L zh_CN stampa)" = /usr/share/man/zh_CN/man1/stampa.1.gz ] || fail "man -w -L zh_CN stampa"
    step "man -w finds stampa-cli(1), stampa(1), stampa-vprinter(1) and the Chinese stampa(1)"

    # The window program, offscreen for a moment: it stays up, having bound
    # Pixmelt and the USB library from the package's folder.
    status=0
    LD_DEBUG=files timeout 4 stampa "--folder=~/Stampa" 2>stampa.debug || status=$?
    [ "$status" -eq 124 ] || { tail -20 stampa.debug >&2; fail "stampa ended ($status) instead of running"; }
    grep -q 'file=/usr/lib/stampa/libpixmelt.so' stampa.debug || fail "stampa did not bind /usr/lib/stampa/libpixmelt.so"
    [ -d "$HOME/Stampa" ] || fail "stampa did not make ~/Stampa"
    step "stampa ran offscreen in ~/Stampa with the package's libraries"
)

DEBIAN_FRONTEND=noninteractive $SUDO apt-get remove -y -q stampa >>"$work/apt.log" 2>&1 ||
    { cat "$work/apt.log" >&2; fail "apt-get remove"; }
# What the installation pulled in goes too.
added=$(comm -13 <(echo "$before") <(dpkg-query -W -f '${Package}\n' | sort))
if [ -n "$added" ]; then
    # shellcheck disable=SC2086
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get purge -y -q $added >>"$work/apt.log" 2>&1
fi
[ "$(dpkg-query -W -f '${Package}\n' | sort)" = "$before" ] || fail "the installed packages differ from before"
for path in /usr/bin/stampa /usr/bin/stampa-cli /usr/lib/stampa /usr/share/man/man1/stampa-cli.1.gz; do
    [ ! -e "$path" ] || fail "$path is left after apt-get remove"
done
step "removed: the same packages as before, nothing of Stampa's left"
echo "test-package: passed"
