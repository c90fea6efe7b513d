#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The teacher's window beside the command-line tools on the same data: opening a class of 30
# learners with 10,000 runs each (vokalindo-report reads the same logs and writes its page),
# importing a file of 200 pairs (vokalindo-lists import), printing a test sheet (vokalindo-lists
# print). The median and range of the wall time of RUNS runs of each, whole processes.
#   bash bench/teacher_bench.sh BENCH_BUILD_DIR [RUNS]     (scripts/bench.sh builds build-bench/)
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$(realpath "${1:?usage: teacher_bench.sh BENCH_BUILD_DIR [RUNS]}")"
runs="${2:-5}"
window="$build/teacher_bench"
report="$build/vokalindo/report/vokalindo-report"
lists="$build/vokalindo/lists/vokalindo-lists"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=offscreen

bash "$root/bench/generate_class.sh" "$work/big" 30 10000
bash "$root/bench/generate_class.sh" "$work/small" 30 10
mkdir "$work/big/listak" "$work/small/listak"
awk 'BEGIN { print "Angol;Magyar;Megjegyzés"; for (i = 1; i <= 200; i++) printf "word %d;szó %d;\n", i, i }' \
    >"$work/szavak.csv"
"$lists" import "$work/szavak.csv" --name minta --output "$work/big/listak" >/dev/null 2>&1

time_of() { # runs a command RUNS times (the folder tidied by "before" first); prints the seconds, one a line
    local before="$1"
    shift
    for _ in $(seq "$runs"); do
        eval "$before"
        /usr/bin/time -f '%e' -o "$work/time" "$@" >/dev/null 2>&1 || { echo "failed: $*" >&2; exit 1; }
        cat "$work/time"
    done
}
summary() {
    sort -n | tr '\n' ' ' | awk -v label="$1" '{ n = NF; printf "%-44s %.2f s (%.2f-%.2f)\n", label, $(int((n + 1) / 2)), $1, $n }'
}
time_of : "$window" open "$work/big" | summary "window: open the class, every log read"
time_of : "$report" --directory "$work/big" --output "$work/out.html" | summary "vokalindo-report: the same logs, page written"
# Into a class of 30 learners with 10 runs each: the window reads the class again after writing.
time_of 'rm -f "$work"/small/listak/szavak-*.szo' "$window" import "$work/szavak.csv" "$work/small" |
    summary "window: import 200 pairs (10 lists)"
time_of 'rm -f "$work"/small/listak/szavak-*.szo' "$lists" import "$work/szavak.csv" --output "$work/small/listak" |
    summary "vokalindo-lists import: the same"
time_of : "$window" print "$work/big/listak/minta-01.szo" "$work/a.pdf" | summary "window: print a test sheet (PDF)"
time_of : "$lists" print "$work/big/listak/minta-01.szo" --kind test-en --output "$work/b.pdf" |
    summary "vokalindo-lists print: the same"
