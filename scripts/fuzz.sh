#!/usr/bin/env bash
# Builds the libFuzzer targets (preset "fuzz": clang, ASan + UBSan, every library
# instrumented), and runs each for SECONDS (default 60), starting from the
# corpus kept in tests/fuzz/corpus/TARGET and the inputs written by
# scripts/make-fuzz-seeds.py. Any crash, leak or sanitizer report fails.
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
: >"$results"
failed=0
passed=0
options=(-max_len=200000 -rss_limit_mb=4096 -timeout=20)
while read -r target; do
    [ -n "$target" ] || continue
    kept="tests/fuzz/corpus/$target"
    corpus="$out/corpus/$target"
    mkdir -p "$corpus" "$kept" "$out/seeds/$target"  # a target may have committed seeds only
    cp -r "$kept/." "$corpus/"
    log="$out/$target.log"
    if "build/fuzz/bin/$target" "$corpus" "$out/seeds/$target" -max_total_time="$seconds" \
        "${options[@]}" -print_final_stats=1 -artifact_prefix="$out/$target-" >"$log" 2>&1; then
        result=ok
        passed=$((passed + 1))
    else
        result=FAILED
        failed=$((failed + 1))
        tail -40 "$log"
    fi
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
        "${cov:-0}" "${ft:-0}" "$files" "$result" | tee -a "$results"
    if [ "$keep" = "--keep" ] && [ "$result" = ok ]; then
        merged="$out/merged/$target"
        mkdir -p "$merged"
        "build/fuzz/bin/$target" -merge=1 "${options[@]}" "$merged" "$corpus" >"$out/$target.merge.log" 2>&1
        rm -rf "$kept"
        mv "$merged" "$kept"
    fi
done <build/fuzz/fuzz-targets.txt
echo "fuzz: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
