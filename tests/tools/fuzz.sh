#!/bin/bash
# Builds the libFuzzer targets (preset "fuzz": clang, ASan + UBSan) and runs
# each for FUZZ_SECONDS (default 60), FUZZ_JOBS targets at a time (default 1;
# each target uses one core). FUZZ_TARGETS="A B" runs only those targets. The
# checked-in corpus under tests/fuzz/corpus seeds each run; new inputs go to
# build/fuzz/corpus so the checked-in one stays small. Prints one line per
# target: its runs, corpus and coverage. Fails when a target finds a crash,
# leak, sanitizer report or broken invariant (the reproducer is left in
# build/fuzz/artifacts/<target>/).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
cd "$root"
seconds=${FUZZ_SECONDS:-60}
jobs=${FUZZ_JOBS:-1}
# The names in tests/fuzz/targets.cmake, one a line there.
all_targets=$(sed -n '/^set(launcher_fuzz_targets/,/^)/s/^  \([A-Za-z0-9]*\)$/\1/p' tests/fuzz/targets.cmake)
targets=${FUZZ_TARGETS:-$all_targets}

cmake --preset fuzz >/dev/null
targets_to_build=()
for name in $targets; do
    targets_to_build+=(--target "fuzz_$name")
done
cmake --build --preset fuzz -j2 "${targets_to_build[@]}" >/dev/null

# Runs one target and prints its summary line.
fuzz_one() {
    local name=$1
    local corpus=build/fuzz/corpus/$name
    local artifacts=build/fuzz/artifacts/$name/
    local log=build/fuzz/$name.log
    mkdir -p "$corpus" "$artifacts"
    local status=0
    UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
        "build/fuzz/tests/fuzz/fuzz_$name" "$corpus" "tests/fuzz/corpus/$name" \
        -max_total_time="$seconds" -rss_limit_mb=2048 -max_len=65536 -timeout=10 \
        -artifact_prefix="$artifacts" -print_final_stats=1 >"$log" 2>&1 || status=$?
    # The last status line ("#N DONE cov: C ft: F corp: K/S ...") and the final runs count.
    local stat runs
    stat=$(grep -E '^#[0-9]+' "$log" | tail -n 1 || true)
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
    local cov ft corp
    cov=$(sed -n 's/.* cov: \([0-9]*\).*/\1/p' <<<"$stat")
    ft=$(sed -n 's/.* ft: \([0-9]*\).*/\1/p' <<<"$stat")
    corp=$(sed -n 's/.* corp: \([0-9]*\/[0-9A-Za-z]*\).*/\1/p' <<<"$stat")
    if [ "$status" -eq 0 ]; then
        printf '%-18s %10s runs in %ss, corpus %s, cov %s, ft %s\n' "$name" "${runs:-?}" "$seconds" \
            "${corp:-?}" "${cov:-?}" "${ft:-?}"
    else
        {
            printf '%-18s FAILED after %s runs; see %s and %s\n' "$name" "${runs:-?}" "$log" "$artifacts"
            grep -E 'ERROR|SUMMARY|Test unit written' "$log" | head -n 5 || true
        }
        return 1
    fi
}

echo "fuzzing for ${seconds}s each, $jobs at a time: "$targets
failed=0
running=0
for name in $targets; do
    fuzz_one "$name" &
    running=$((running + 1))
    if [ "$running" -ge "$jobs" ]; then
        wait -n || failed=$((failed + 1))
        running=$((running - 1))
    fi
done
while [ "$running" -gt 0 ]; do
    wait -n || failed=$((failed + 1))
    running=$((running - 1))
done
if [ "$failed" -ne 0 ]; then
    echo "$failed fuzz targets failed"
    exit 1
fi
