#!/usr/bin/env bash
# Builds the libFuzzer targets (preset "fuzz": clang, ASan + UBSan, every library
# instrumented), and runs each for SECONDS (default 60), starting from the
# corpus kept in tests/fuzz/corpus/TARGET and the inputs written by
# scripts/make-fuzz-seeds.py, as many at once as there are cores. Any crash,
# leak or sanitizer report fails.
# Results go to build/fuzz/results.tsv:
#   target  seconds  executions  cov-at-start  cov  ft  corpus-files  result
# With --keep, each grown corpus is minimised (-merge=1) back into
# tests/fuzz/corpus/TARGET, to be committed.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
keep=${2:-}
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz
out=build/fuzz/run
rm -rf "$out"
mkdir -p "$out"
python3 scripts/make-fuzz-seeds.py "$out/seeds" >/dev/null
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
results=build/fuzz/results.tsv
options=(-max_len=200000 -rss_limit_mb=4096 -timeout=20)

# One target: its run, its row of results in $out/TARGET.row, and with
# --keep its minimised corpus. Fails when the target found something.
fuzz_target() {
    local target=$1
    local kept="tests/fuzz/corpus/$target"
    local corpus="$out/corpus/$target"
    local log="$out/$target.log"
    local result=ok
    mkdir -p "$corpus" "$kept" "$out/seeds/$target"  # a target may have committed seeds only
    cp -r "$kept/." "$corpus/"
    "build/fuzz/bin/$target" "$corpus" "$out/seeds/$target" -max_total_time="$seconds" \
        "${options[@]}" -print_final_stats=1 -artifact_prefix="$out/$target-" >"$log" 2>&1 ||
        result=FAILED
    local runs first start last cov ft files
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
    # Coverage once the corpus is loaded ("#N INITED cov: C ...") and at the
    # end ("#N DONE cov: C ft: F ...", or the last pulse).
    first=$(grep -E '^#[0-9]+\s+INITED' "$log" | head -1 || true)
    start=$(sed -n 's/.*cov: \([0-9]*\).*/\1/p' <<<"$first")
    last=$(grep -E '^#[0-9]+.*cov: [0-9]+ ft: [0-9]+' "$log" | tail -1 || true)
    cov=$(sed -n 's/.*cov: \([0-9]*\).*/\1/p' <<<"$last")
    ft=$(sed -n 's/.*ft: \([0-9]*\).*/\1/p' <<<"$last")
    files=$(find "$corpus" -type f | wc -l)
    printf '%s\t%s\t%s\t%s\t%s\t%s\t%s\t%s\n' "$target" "$seconds" "${runs:-0}" "${start:-0}" \
        "${cov:-0}" "${ft:-0}" "$files" "$result" >"$out/$target.row"
    if [ "$keep" = "--keep" ] && [ "$result" = ok ]; then
        local merged="$out/merged/$target"
        mkdir -p "$merged"
        "build/fuzz/bin/$target" -merge=1 "${options[@]}" "$merged" "$corpus" >"$out/$target.merge.log" 2>&1
        rm -rf "$kept"
        mv "$merged" "$kept"
    fi
}

# The targets side by side, one a core (each fuzzer is single-threaded), or
# FUZZ_JOBS at once: the reliability report runs them one by one, so that
# each target's executions per second are its own.
mapfile -t targets < <(grep -v '^$' build/fuzz/fuzz-targets.txt)
jobs_at_once=${FUZZ_JOBS:-$(nproc)}
for target in "${targets[@]}"; do
    while [ "$(jobs -rp | wc -l)" -ge "$jobs_at_once" ]; do
        wait -n || true
    done
    fuzz_target "$target" &
done
wait

# The rows in the targets' order; a failed target's log tail after its row.
: >"$results"
failed=0
passed=0
for target in "${targets[@]}"; do
    row=$(cat "$out/$target.row" 2>/dev/null || printf '%s\t%s\t0\t0\t0\t0\t0\tFAILED' "$target" "$seconds")
    printf '%s\n' "$row" | tee -a "$results"
    if [ "${row##*$'\t'}" = ok ]; then
        passed=$((passed + 1))
    else
        failed=$((failed + 1))
        tail -40 "$out/$target.log" 2>/dev/null || true
    fi
done
echo "fuzz: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
