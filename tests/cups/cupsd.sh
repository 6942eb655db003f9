#!/usr/bin/env bash
# A private print spooler for the tests: cupsd with its own folders under DIR,
# listening on DIR/cups.sock and a free loopback port, with a virtual printer
# behind its queues.
#
#   cupsd.sh start DIR STAMPA-VPRINTER   starts both; CUPS_SERVER=DIR/cups.sock reaches it
#   cupsd.sh stop DIR                    stops the processes it started (by their PIDs)
#
# Queues: "RP-820_Test" (the default) and "RP-820_Rejecting" (rejects jobs)
# qualify for BaseDriverName "RP-820"; "Office_Laser" does not. All three are
# raw queues whose device is the virtual printer's TCP port, so jobs arrive
# there byte for byte (DIR/capture.bin, receipts in DIR/receipts).
set -euo pipefail

stop() {
    local dir=$1
    for name in cupsd vprinter; do
        if [ -f "$dir/$name.pid" ]; then
            local pid
            pid=$(cat "$dir/$name.pid")
            kill -TERM "$pid" 2>/dev/null || true
            for _ in $(seq 1 100); do
                kill -0 "$pid" 2>/dev/null || break
                sleep 0.1
            done
            kill -KILL "$pid" 2>/dev/null || true
            rm -f "$dir/$name.pid"
        fi
    done
}

free_port() {
    local port
    for port in $(seq $((20000 + $$ % 20000)) 65000); do
        if ! (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null; then
            echo "$port"
            return
        fi
    done
}

scheduler_running() { lpstat -r 2>/dev/null | grep -q 'scheduler is running'; }

wait_for() {  # wait_for SECONDS COMMAND...
    local limit=$1
    shift
    for _ in $(seq 1 $((limit * 10))); do
        if "$@" >/dev/null 2>&1; then return 0; fi
        sleep 0.1
    done
    return 1
}

start() {
    local dir=$1 vprinter=$2
    stop "$dir"
    rm -rf "$dir"
    mkdir -p "$dir"/etc "$dir"/spool/tmp "$dir"/cache "$dir"/state "$dir"/log "$dir"/receipts
    # The spooler's helpers run as user lp and must reach the spool folder.
    chmod 0755 "$dir" "$dir"/spool "$dir"/spool/tmp
    local parent
    parent=$(dirname "$dir")
    while [ "$parent" != "/" ]; do chmod o+x "$parent" 2>/dev/null || true; parent=$(dirname "$parent"); done

    "$vprinter" --tcp 0 --out "$dir/receipts" --state "$dir/flash.state" --capture "$dir/capture.bin" \
        >"$dir/vprinter.out" 2>"$dir/vprinter.log" &
    echo $! >"$dir/vprinter.pid"
    wait_for 10 grep -q '^ready' "$dir/vprinter.out" || { echo "virtual printer did not start"; cat "$dir/vprinter.log"; exit 1; }
    local printer
    printer=$(sed -n 's/^tcp: //p' "$dir/vprinter.out")

    local port
    port=$(free_port)
    cat >"$dir/etc/cupsd.conf" <<CONF
LogLevel warn
Listen 127.0.0.1:$port
Listen $dir/cups.sock
Browsing No
WebInterface No
DefaultAuthType None
MaxJobs 0
PreserveJobHistory No
<Location />
  Order allow,deny
  Allow all
</Location>
<Location /admin>
  Order allow,deny
  Allow all
</Location>
<Policy default>
  <Limit All>
    Order allow,deny
    Allow all
  </Limit>
</Policy>
CONF
    cat >"$dir/etc/cups-files.conf" <<CONF
RequestRoot $dir/spool
TempDir $dir/spool/tmp
StateDir $dir/state
CacheDir $dir/cache
ServerBin /usr/lib/cups
DataDir /usr/share/cups
AccessLog $dir/log/access_log
ErrorLog $dir/log/error_log
PageLog $dir/log/page_log
FileDevice No
Sandboxing Relaxed
CONF
    /usr/sbin/cupsd -f -c "$dir/etc/cupsd.conf" -s "$dir/etc/cups-files.conf" >"$dir/log/cupsd.out" 2>&1 &
    echo $! >"$dir/cupsd.pid"
    export CUPS_SERVER="$dir/cups.sock"
    wait_for 20 scheduler_running || { echo "cupsd did not start"; cat "$dir/log/"*; exit 1; }

    for queue in RP-820_Test Office_Laser RP-820_Rejecting; do
        lpadmin -p "$queue" -E -v "socket://$printer"
    done
    lpadmin -d RP-820_Test
    cupsreject RP-820_Rejecting
    echo "cupsd: $CUPS_SERVER (127.0.0.1:$port); printer behind the queues: $printer"
}

case "${1:-}" in
    start) start "$2" "$3" ;;
    stop) stop "$2" ;;
    *) echo "usage: $0 start DIR STAMPA-VPRINTER | stop DIR" >&2; exit 2 ;;
esac
