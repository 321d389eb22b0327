#!/usr/bin/env bash
# Builds the libFuzzer targets of fuzz/ with clang and runs each for a while on a scratch copy
# of its seed corpus (fuzz/corpus/<target>); fails on any finding. Prints how many inputs each
# target ran. Usage: scripts/fuzz.sh [seconds per target, default 30]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-30}
if ! command -v clang++-14 >/dev/null; then
    echo "clang++-14 is missing: fuzzing skipped (scripts/setup-debian.sh installs it)"
    exit 0
fi

build="build-fuzz"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "$(nproc)"

targets=(parse_integer format_date_time compose_new_name natural_compare)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir -p "$build/findings"
# All targets run at once: the wall time stays that of one.
for target in "${targets[@]}"; do
    mkdir "$scratch/$target"
    "$build/fuzz/${target}_fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -print_final_stats=1 -artifact_prefix="$build/findings/$target-" \
        "$scratch/$target" "fuzz/corpus/$target" >"$scratch/$target.log" 2>&1 &
    echo $! >"$scratch/$target.pid"
done
failed=0
for target in "${targets[@]}"; do
    if wait "$(cat "$scratch/$target.pid")"; then
        runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$scratch/$target.log")
        echo "fuzz $target: ${runs:-?} executions in ${seconds} s, no finding"
    else
        failed=1
        echo "fuzz $target: FINDING (input kept in $build/findings/)"
        tail -n 40 "$scratch/$target.log"
    fi
done
exit "$failed"
