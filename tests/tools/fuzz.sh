#!/bin/bash
# Builds the libFuzzer targets (preset "fuzz": clang, ASan + UBSan) and runs
# each for FUZZ_SECONDS (default 60). The checked-in corpus under
# tests/fuzz/corpus seeds each run; new inputs go to build/fuzz/corpus so the
# checked-in one stays small. Fails on the first crash, leak or sanitizer
# report (the reproducer is left in build/fuzz/artifacts).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
cd "$root"
seconds=${FUZZ_SECONDS:-60}

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j2

status=0
for name in IniParser Version Tokenizer; do
    corpus=build/fuzz/corpus/$name
    artifacts=build/fuzz/artifacts/$name/
    mkdir -p "$corpus" "$artifacts"
    echo "fuzzing $name for ${seconds}s"
    if ! UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
        "build/fuzz/tests/fuzz/fuzz_$name" "$corpus" "tests/fuzz/corpus/$name" \
        -max_total_time="$seconds" -rss_limit_mb=2048 -max_len=65536 -timeout=10 \
        -artifact_prefix="$artifacts" -print_final_stats=1 2>"build/fuzz/$name.log"; then
        echo "fuzz_$name failed; see build/fuzz/$name.log and $artifacts"
        tail -n 40 "build/fuzz/$name.log"
        status=1
    else
        grep -E "stat::number_of_executed_units|Done" "build/fuzz/$name.log" | tail -n 2 || true
    fi
done
exit $status
