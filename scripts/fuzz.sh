#!/usr/bin/env bash
# Builds the libFuzzer targets (preset "fuzz": clang, ASan + UBSan), writes their
# seed corpora, and runs each for SECONDS (default 60). Any crash, leak or
# sanitizer report fails. Results go to build/fuzz/results.tsv:
#   target  seconds  executions  result
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz
out=build/fuzz/run
rm -rf "$out"
mkdir -p "$out"
python3 scripts/make-fuzz-seeds.py "$out/seeds" >/dev/null
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
results=build/fuzz/results.tsv
: >"$results"
failed=0
passed=0
for target in fuzz_bitmap_reader fuzz_pixmelt fuzz_column_image fuzz_stored_list fuzz_config_file fuzz_vprinter_parser; do
    corpus="$out/corpus/$target"
    mkdir -p "$corpus"
    log="$out/$target.log"
    if "build/fuzz/bin/$target" "$corpus" "$out/seeds/$target" -max_total_time="$seconds" -max_len=200000 \
        -rss_limit_mb=4096 -timeout=20 -print_final_stats=1 -artifact_prefix="$out/$target-" >"$log" 2>&1; then
        result=ok
        passed=$((passed + 1))
    else
        result=FAILED
        failed=$((failed + 1))
        tail -40 "$log"
    fi
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
    printf '%s\t%s\t%s\t%s\n' "$target" "$seconds" "${runs:-0}" "$result" | tee -a "$results"
done
echo "fuzz: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
