#!/usr/bin/env bash
# Runs each libFuzzer target of ./build-asan (made by scripts/test-asan.sh) for SECONDS
# (default 20), starting from the committed seed corpus. New inputs go to
# build-asan/fuzz/TARGET/corpus, findings to build-asan/fuzz/TARGET/findings; a finding
# fails the run. A finding worth keeping belongs in tests/fuzz/corpus/TARGET afterwards.
#   scripts/fuzz.sh [SECONDS] [TARGET...]
# The mutations follow FUZZ_SEED (default 1), so a run repeats the same inputs in the same
# order; FUZZ_SEED=0 lets libFuzzer pick a new seed.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/sanitizer-env.sh

seconds="${1:-20}"
seed="${FUZZ_SEED:-1}"
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || { IFS=';' read -r -a targets < build-asan/tests/fuzz/targets.txt || true; }

for target in "${targets[@]}"; do
    work="build-asan/fuzz/$target"
    mkdir -p "$work/corpus" "$work/findings"

    if ! build-asan/tests/fuzz/"$target" -max_total_time="$seconds" -seed="$seed" -print_final_stats=1 \
            -dict=tests/fuzz/state.dict -max_len=8192 -timeout=10 -rss_limit_mb=4096 \
            -artifact_prefix="$work/findings/" "$work/corpus" "tests/fuzz/corpus/$target" > "$work/log.txt" 2>&1; then
        tail -n 60 "$work/log.txt"
        echo "fuzz: $target found a fault; the input is in $work/findings/" >&2
        exit 1
    fi

    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$work/log.txt")
    echo "fuzz: $target: $runs executions in ${seconds} s, no finding"
done
