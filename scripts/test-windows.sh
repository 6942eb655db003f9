#!/usr/bin/env bash
# The Windows build under Wine, against the Linux build on this machine:
#  1. the Qt-free test suites (GoogleTest) as Windows programs;
#  2. pixmelt.dll and libpixmelt.so convert the test and benchmark pictures
#     with every method to identical files (stampa-cli.exe and stampa-cli convert);
#  3. stampa-cli.exe downloads and prints over COM1 (Wine's COM1 is the
#     pseudo-terminal of a virtual printer running natively), over USB
#     (QzUsbInt.dll on the virtual printer's FIFOs), over TCP (Winsock) and
#     through Wine's print spooler into a private cupsd; each time the printer
#     receives exactly the bytes the Linux stampa-cli sends for the same job.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
windows=$root/build/windows/bin
linux=$root/build/default/bin
export WINEPREFIX=$root/build/windows/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export QT_QPA_PLATFORM=offscreen LANG=C.UTF-8
wine=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver

work=$(mktemp -d /tmp/stampa-windows.XXXXXX)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    bash "$root/tests/cups/cupsd.sh" stop "$work/cups" >/dev/null 2>&1 || true
    "$wineserver" -k 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "test-windows: FAILED: $*" >&2; exit 1; }
step() { echo "test-windows: $*"; }

# A virtual printer with the given links, its bytes captured in $work/NAME.bin.
start_printer() {  # start_printer NAME ARGS...
    local name=$1
    shift
    "$linux/stampa-vprinter" "$@" --capture "$work/$name.bin" --out "$work/$name-out" \
        >"$work/$name.log" 2>&1 &
    pids+=($!)
    for _ in $(seq 1 100); do
        grep -q '^ready' "$work/$name.log" && return 0
        sleep 0.1
    done
    cat "$work/$name.log" >&2
    fail "virtual printer $name did not start"
}
size() { stat -c %s "$1"; }
# Bytes [from, to) of a capture.
slice() { tail -c +$(($2 + 1)) "$1" | head -c $(($3 - $2)); }
# Waits until a capture stops growing (the spooler delivers after the job ends).
settled() {  # settled FILE MIN-SIZE
    local last=-1
    for _ in $(seq 1 100); do
        local now
        now=$(size "$1")
        if [ "$now" -ge "$2" ] && [ "$now" = "$last" ]; then return 0; fi
        last=$now
        sleep 0.2
    done
    fail "$1 did not settle"
}

# Runs JOB (a stampa-cli command line) for Windows in $work/win and for Linux in
# $work/lin against the same printer and checks the printer got the same bytes.
# WINLINK and LINLINK name the printer on each side; win_env and lin_env hold
# settings of one side only.
win_env=()
lin_env=()
same_bytes() {  # same_bytes CAPTURE WINLINK LINLINK JOB...
    local capture=$1 winlink=$2 linlink=$3
    shift 3
    local start middle end
    start=$(size "$capture")
    (cd "$work/win" && env "${win_env[@]}" "$wine" "$windows/stampa-cli.exe" "$@" --link "$winlink" >>"$work/cli.log" 2>&1) ||
        { cat "$work/cli.log" >&2; fail "stampa-cli.exe $* --link $winlink"; }
    settled "$capture" $((start + 1))
    middle=$(size "$capture")
    (cd "$work/lin" && env "${lin_env[@]}" "$linux/stampa-cli" "$@" --link "$linlink" >>"$work/cli.log" 2>&1) ||
        { cat "$work/cli.log" >&2; fail "stampa-cli $* --link $linlink"; }
    settled "$capture" $((middle + 1))
    end=$(size "$capture")
    cmp <(slice "$capture" "$start" "$middle") <(slice "$capture" "$middle" "$end") ||
        fail "$1: the Windows and Linux builds sent different bytes for: $*"
    step "$winlink: $1 — $((middle - start)) bytes, the same from both builds"
}

if [ ! -f "$WINEPREFIX/system.reg" ]; then
    "$wine" wineboot -i >/dev/null 2>&1
fi

# 1. The suites.
(cd "$root/build/windows" && "$wine" bin/stampa_core_tests.exe --gtest_brief=1) || fail "stampa_core_tests.exe"
(cd "$root/build/windows" && "$wine" bin/pixmelt_tests.exe --gtest_brief=1) || fail "pixmelt_tests.exe"
step "the Qt-free suites pass as Windows programs"

# 2. Pixmelt, bit for bit.
mkdir -p "$work/pictures" "$work/win" "$work/lin"
(cd "$work/pictures" && "$linux/stampa-samples" . >/dev/null 2>&1)
PIXMELT_BENCH_DIR="$work/pictures" "$linux/pixmelt_bench" --benchmark_filter='Convert/(576/400|2000/1000)/0' \
    --benchmark_min_time=0.001 >/dev/null 2>&1
pictures=(photo.bmp chinese.bmp bench-576x400.bmp bench-2000x1000.bmp)
methods=(threshold m3 m4 error)
compared=0
for p in "${pictures[@]}"; do
    stem=${p%.bmp}
    for m in 0 1 2 3; do
        for setting in "0 0" "40 -30"; do
            read -r contrast brightness <<<"$setting"
            for side in win lin; do
                cp "$work/pictures/$p" "$work/$side/"
            done
            (cd "$work/win" && "$wine" "$windows/stampa-cli.exe" convert "$p" --method "${methods[$m]}" \
                --contrast "$contrast" --brightness "$brightness" >/dev/null)
            (cd "$work/lin" && "$linux/stampa-cli" convert "$p" --method "${methods[$m]}" \
                --contrast "$contrast" --brightness "$brightness" >/dev/null)
            cmp "$work/win/${stem}Temp.bmp" "$work/lin/${stem}Temp.bmp" ||
                fail "pixmelt.dll and libpixmelt.so differ on $p, method $m, $contrast/$brightness"
            compared=$((compared + 1))
        done
    done
done
step "pixmelt.dll and libpixmelt.so identical on $compared conversions"
cp "$work/pictures/photo.bmp" "$work/pictures/mono.bmp" "$work/win/"
cp "$work/pictures/photo.bmp" "$work/pictures/mono.bmp" "$work/lin/"

# 3. The links. Serial: Wine's COM1 and Linux's COM1 are the same pseudo-terminal.
mkdir -p "$work/config/stampa/ports"
start_printer serial --serial "$work/config/stampa/ports/com1"
"$wine" reg add 'HKLM\Software\Wine\Ports' /v COM1 /d "$work/config/stampa/ports/com1" /f >/dev/null 2>&1
"$wineserver" -k 2>/dev/null || true  # Wine maps its COM ports when it starts
export XDG_CONFIG_HOME=$work/config
same_bytes "$work/serial.bin" serial:COM1 serial:COM1 download --memory flash --yes photo.bmp mono.bmp
same_bytes "$work/serial.bin" serial:COM1 serial:COM1 print --memory flash --scale double --label

# USB: QzUsbInt.dll on the virtual printer's FIFOs, named as Windows sees them.
mkdir -p "$work/usb"
start_printer usb --usb "$work/usb/lp0"
win_env=(QZUSB_DEVICE_DIR="Z:${work//\//\\}\\usb")
lin_env=(QZUSB_DEVICE_DIR="$work/usb")
same_bytes "$work/usb.bin" usb:0 usb:0 download --memory ram --yes mono.bmp
(cd "$work/win" && env "${win_env[@]}" "$wine" "$windows/stampa-cli.exe" status --link usb:0 |
    grep -q 'paper ok') || fail "the printer's status over USB"
win_env=()
lin_env=()
step "usb:0: the printer's status read back"

# TCP: Winsock.
start_printer tcp --tcp 127.0.0.1:0
tcp=$(sed -n 's/^tcp: //p' "$work/tcp.log")
same_bytes "$work/tcp.bin" "tcp:$tcp" "tcp:$tcp" download --memory nv --yes photo.bmp mono.bmp
(cd "$work/win" && "$wine" "$windows/stampa-cli.exe" nv list --link "tcp:$tcp" | grep -q 'mono.bmp') ||
    fail "the NV keys over TCP"
step "tcp:$tcp: the NV keys read back"

# Two printers at once from one stampa-cli.exe (a thread each): both get the
# bytes one printer gets, and a line each.
start_printer tcp2 --tcp 127.0.0.1:0
start_printer tcp3 --tcp 127.0.0.1:0
tcp2=$(sed -n 's/^tcp: //p' "$work/tcp2.log")
tcp3=$(sed -n 's/^tcp: //p' "$work/tcp3.log")
(cd "$work/win" && "$wine" "$windows/stampa-cli.exe" download --memory ram --yes mono.bmp \
    --link "tcp:$tcp2" --link "tcp:$tcp3" >"$work/two.log" 2>>"$work/cli.log") ||
    { cat "$work/two.log" "$work/cli.log" >&2; fail "two printers at once"; }
[ "$(grep -c ' ok ' "$work/two.log")" = 2 ] || { cat "$work/two.log" >&2; fail "a line per printer"; }
settled "$work/tcp2.bin" 1
settled "$work/tcp3.bin" 1
cmp -s "$work/tcp2.bin" "$work/tcp3.bin" || fail "the two printers got different bytes"
step "tcp:$tcp2 and tcp:$tcp3: one command, both printers, the same bytes"

# The spooler: Wine's winspool lists and writes to the private cupsd's queues.
bash "$root/tests/cups/cupsd.sh" start "$work/cups" "$linux/stampa-vprinter" >/dev/null
export CUPS_SERVER=$work/cups/cups.sock
"$wineserver" -k 2>/dev/null || true
(cd "$work/win" && "$wine" "$windows/stampa-cli.exe" ports | grep -q 'driver:RP-820_Test') ||
    fail "Wine's spooler does not list the queues"
same_bytes "$work/cups/capture.bin" driver:RP-820_Test driver:RP-820_Test download --memory flash --yes mono.bmp
if (cd "$work/win" && "$wine" "$windows/stampa-cli.exe" download --link driver:RP-820_Rejecting \
    --memory flash --yes mono.bmp >>"$work/cli.log" 2>&1); then
    fail "a queue that rejects jobs took the download"
fi
step "driver: a queue that rejects jobs fails the download"
# The zip as a technician gets it: unpacked into a clean folder, one download from there.
version=$("$root/scripts/project-version.sh")
mkdir -p "$work/unzipped"
(cd "$work/unzipped" && cmake -E tar xf "$root/build/windows/stampa-cli-windows-x64-$version.zip")
unzipped=$work/unzipped/stampa-cli-windows-x64-$version
for f in stampa-cli.exe pixmelt.dll QzUsbInt.dll DLPortIO.dll README.txt THIRD-PARTY-NOTICES.txt LICENSE \
    licenses/Stampa-LICENSE.txt licenses/printer-db-CC-BY-4.0.md; do
    [ -f "$unzipped/$f" ] || fail "the zip lacks $f"
done
start=$(size "$work/tcp.bin")
(cd "$work/win" && "$wine" "$unzipped/stampa-cli.exe" download --memory flash --yes mono.bmp \
    --link "tcp:$tcp" >>"$work/cli.log" 2>&1) || { cat "$work/cli.log" >&2; fail "the unzipped stampa-cli.exe"; }
settled "$work/tcp.bin" $((start + 1))
step "the zip: unpacked, its stampa-cli.exe downloads over TCP"
echo "test-windows: passed"
