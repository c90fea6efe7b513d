#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the libFuzzer targets of fuzz/ with clang into build-fuzz/ and runs each for the given
# number of seconds (30 by default), as many at once as there are cores. A target that finds an
# input breaking its checks fails the script; the input is kept in build-fuzz/crashes/. With
# --build-only it stops once the targets are built.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
seconds="${1:-30}"
out="$root/build-fuzz"
targets=(fuzz_word_list fuzz_user_registry fuzz_answer_check fuzz_results_record)

cmake -S "$root/fuzz" -B "$out" -DCMAKE_CXX_COMPILER=clang++-14 >/dev/null
cmake --build "$out" --parallel "$(nproc)"
[ "$seconds" != --build-only ] || exit 0
mkdir -p "$out/logs" "$out/crashes"
rm -f "$out"/logs/*.status

# Inputs that add coverage go to build-fuzz/corpus/, the seeds in fuzz/corpus/ are only read.
fuzz_one() {
    local target="$1" status=0
    mkdir -p "$out/corpus/$target"
    "$out/$target" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
        -artifact_prefix="$out/crashes/$target-" "$out/corpus/$target" "$root/fuzz/corpus/$target" \
        >"$out/logs/$target.log" 2>&1 || status=$?
    echo "$status" >"$out/logs/$target.status"
}

running=0
for target in "${targets[@]}"; do
    fuzz_one "$target" &
    running=$((running + 1))
    if [ "$running" -ge "$(nproc)" ]; then
        wait -n || true
        running=$((running - 1))
    fi
done
wait

passed=0
failed=0
for target in "${targets[@]}"; do
    executions="$(sed -n 's/^stat::number_of_executed_units: *//p' "$out/logs/$target.log")"
    if [ "$(cat "$out/logs/$target.status")" = 0 ]; then
        passed=$((passed + 1))
        echo "$target: ${executions:-?} executions in ${seconds} s, no failure"
    else
        failed=$((failed + 1))
        echo "$target: FAILED after ${executions:-?} executions; log: $out/logs/$target.log"
        tail -n 40 "$out/logs/$target.log"
    fi
done
echo "fuzzing: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
