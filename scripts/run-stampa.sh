#!/usr/bin/env bash
# Starts the virtual printer on every link it can offer without root (serial as
# COM1, USB device 0, the simulated parallel port LPT1), then Stampa in the
# folder run/, and stops the printer when Stampa ends.
set -euo pipefail
cd "$(dirname "$0")/.."
top=$(pwd)
bin="$top/build/default/bin"
run="$top/run"

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
    echo "Stampa needs a display, and none is set (DISPLAY / WAYLAND_DISPLAY)."
    echo "On a machine without one, run it under a virtual display:"
    echo "    sudo apt-get install -y xvfb && xvfb-run -a make run"
    echo "or look at the pages offscreen: QT_QPA_PLATFORM=offscreen make run"
    exit 1
fi

mkdir -p "$run/config/stampa/ports" "$run/usb" "$run/receipts"
if [ ! -f "$run/Stampa.ini" ]; then
    cp "$top/data/Stampa.ini" "$run/Stampa.ini"
fi
if [ -x "$bin/stampa-samples" ]; then
    (cd "$run" && "$bin/stampa-samples" . >/dev/null)
fi

export XDG_CONFIG_HOME="$run/config"   # COM1 -> the printer's pseudo-terminal
export QZUSB_DEVICE_DIR="$run/usb"     # USB device 0 -> the printer's FIFO
export DLPORTIO_SIM="$run/lpt1.sim"    # LPT1 -> the printer's simulated port

"$bin/stampa-vprinter" --serial "$run/config/stampa/ports/com1" --usb "$run/usb/lp0" \
    --lpt-sim "$run/lpt1.sim" --tcp 127.0.0.1:0 --state "$run/flash.state" --out "$run/receipts" \
    >"$run/vprinter.out" 2>"$run/vprinter.log" &
printer=$!
trap 'kill $printer 2>/dev/null; wait $printer 2>/dev/null' EXIT
for _ in $(seq 1 50); do
    grep -q '^ready' "$run/vprinter.out" 2>/dev/null && break
    sleep 0.1
done
# The network printer: the free loopback port the printer took, in Stampa.ini's [Network].
tcp=$(sed -n 's/^tcp: //p' "$run/vprinter.out" | head -1)
python3 - "$run/Stampa.ini" "${tcp%:*}" "${tcp##*:}" <<'PY'
import sys, re
path, host, port = sys.argv[1:]
text = open(path).read()
text = re.sub(r"(?ims)^\[Network\].*?(?=^\[|\Z)", "", text).rstrip("\n")
open(path, "w").write(text + f"\n[Network]\nHost={host}\nPort={port}\n")
PY
echo "Virtual printer attached: COM1 (serial), USB device QZUSB-0, LPT1 (parallel), network $tcp."
echo "Its receipts go to $run/receipts; its log is $run/vprinter.log."
(cd "$run" && "$bin/stampa")
