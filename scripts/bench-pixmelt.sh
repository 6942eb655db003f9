#!/usr/bin/env bash
# Times pixmelt (whole call: read, convert, write) on 576x400, 2000x1000 and
# 8184x2304 24-bit pictures with each method, then ImageMagick on the very same
# files in the same run, and prints milliseconds per call.
set -euo pipefail
cd "$(dirname "$0")/.."

if ! command -v magick >/dev/null 2>&1 && ! dpkg-query -W -f='${Status}' imagemagick 2>/dev/null | grep -q 'install ok installed'; then
    echo "bench: installing imagemagick for the comparison"
    DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends imagemagick >/dev/null
fi

export PIXMELT_BENCH_DIR="${PIXMELT_BENCH_DIR:-$(mktemp -d /tmp/pixmelt-bench.XXXXXX)}"
echo "== pixmelt, median of 9 runs (ms per call) =="
./build/default/bin/pixmelt_bench --benchmark_repetitions=9 --benchmark_report_aggregates_only=true \
    --benchmark_format=console 2>/dev/null | awk '/_median/ {printf "  %-28s %8.1f ms   %s %s\n", $1, $2, $5, $6}'

median_ms() {  # median wall time of a command over 3 runs
    local times=()
    for _ in 1 2 3; do
        local start end
        start=$(date +%s%N)
        "$@" >/dev/null 2>&1
        end=$(date +%s%N)
        times+=($(( (end - start) / 1000000 )))
    done
    printf '%s\n' "${times[@]}" | sort -n | sed -n 2p
}

echo "== ImageMagick on the same files, median of 3 runs (ms per call, process start included) =="
for size in 576x400 2000x1000 8184x2304; do
    in="$PIXMELT_BENCH_DIR/bench-$size.bmp"
    o8=$(median_ms convert "$in" -ordered-dither o8x8 -monochrome "$PIXMELT_BENCH_DIR/im-o8.bmp")
    fs=$(median_ms convert "$in" -dither FloydSteinberg -monochrome "$PIXMELT_BENCH_DIR/im-fs.bmp")
    printf '  %-10s ordered-dither o8x8: %6s ms   FloydSteinberg: %6s ms\n' "$size" "$o8" "$fs"
done
rm -rf "$PIXMELT_BENCH_DIR"
