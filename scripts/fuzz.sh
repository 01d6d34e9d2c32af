#!/usr/bin/env bash
# Builds the fuzz targets (preset `fuzz`: clang, libFuzzer, ASan, UBSan) and fuzzes each for a
# fixed short time, starting from the committed seed corpus in fuzz/corpus/<target>. New inputs
# go to build/fuzz/work/<target>, never into the committed corpus. A crash, leak, time-out or
# broken property leaves its input in build/fuzz/artifacts/ and fails the script.
#
# Each target fuzzes on one core for its whole time; FUZZ_JOBS targets (default: one per core)
# run side by side.
#
#   scripts/fuzz.sh                    # every target, FUZZ_SECONDS (default 15) each
#   FUZZ_SECONDS=300 scripts/fuzz.sh phone_answers
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${FUZZ_SECONDS:-15}
jobs=${FUZZ_BUILD_JOBS:-2}
side_by_side=${FUZZ_JOBS:-$(nproc)}

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "$jobs" --target fuzz_targets

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
    for f in $(grep -l 'LLVMFuzzerTestOneInput(.*) {$' fuzz/fuzz_*.cpp); do
        name=$(basename "$f" .cpp)
        targets+=("${name#fuzz_}")
    done
fi

out=build/fuzz
mkdir -p "$out/artifacts" "$out/logs"

fuzz_one() {  # fuzz_one TARGET: its log, and its exit status in a file beside it
    local t=$1 status=0
    mkdir -p "$out/work/$t"
    "$out/fuzz/fuzz_$t" "$out/work/$t" "fuzz/corpus/$t" \
        -max_total_time="$seconds" -timeout=10 -rss_limit_mb=1024 -max_len=4096 \
        -artifact_prefix="$out/artifacts/$t-" -print_final_stats=1 >"$out/logs/$t.log" 2>&1 ||
        status=$?
    echo "$status" >"$out/logs/$t.status"
}

for t in "${targets[@]}"; do
    rm -f "$out/logs/$t.status"
    while [ "$(jobs -rp | wc -l)" -ge "$side_by_side" ]; do wait -n || true; done
    fuzz_one "$t" &
done
wait

failed=()
printf '%-18s %7s %10s %7s %6s %5s\n' target seconds executions exec/s seeds new
for t in "${targets[@]}"; do
    log="$out/logs/$t.log"
    status=$(cat "$out/logs/$t.status" 2>/dev/null || echo "none")
    execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
    rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -1)
    seeds=$(find "fuzz/corpus/$t" -type f | wc -l)
    new=$(find "$out/work/$t" -type f | wc -l)
    printf '%-18s %7s %10s %7s %6s %5s\n' "$t" "$seconds" "${execs:-?}" "${rate:-?}" "$seeds" "$new"
    if [ "$status" != 0 ]; then
        failed+=("$t")
        echo "fuzz: $t failed (exit $status); log $log, input in $out/artifacts/" >&2
        grep -m 5 -E 'ERROR|property broken|SUMMARY' "$log" >&2 || true
    fi
done

if [ ${#failed[@]} -gt 0 ]; then
    echo "fuzz: failures in ${failed[*]}" >&2
    exit 1
fi
echo "fuzz: no crash, leak, time-out or broken property"
