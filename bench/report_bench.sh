#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Times the class report over a generated class: 30 learners with 10,000 records each (one more
# learner without a run), about 50 MB of logs, beside a class of 30 learners with 10 records each.
# Prints the median and range of the wall time and the peak resident memory of 7 runs of each.
#   bash bench/report_bench.sh BUILD_DIR [RUNS]
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
report="$(realpath "${1:?usage: report_bench.sh BUILD_DIR [RUNS]}")/report/vokalindo-report"
runs="${2:-7}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

bash "$root/bench/generate_class.sh" "$work/big" 30 10000
bash "$root/bench/generate_class.sh" "$work/small" 30 10
echo "logs: $(du -sb "$work/big" | cut -f1) bytes in $(find "$work/big" -name '*.log' | wc -l) logs" \
     "beside $(du -sb "$work/small" | cut -f1) bytes"

measure() { # class directory -> "seconds kilobytes" a line, one a run
    for _ in $(seq "$runs"); do
        /usr/bin/time -f '%e %M' -o "$work/time" "$report" --directory "$1" --output "$work/out.html" 2>/dev/null
        cat "$work/time"
    done
}
summary() { # label, lines of "seconds kilobytes"
    local lines times memory
    lines="$(cat)"
    times="$(cut -d' ' -f1 <<< "$lines" | sort -n | tr '\n' ' ')"
    memory="$(cut -d' ' -f2 <<< "$lines" | sort -n | tr '\n' ' ')"
    awk -v label="$1" -v times="$times" -v memory="$memory" 'BEGIN {
        n = split(times, t, " "); split(memory, m, " ")
        printf "%-22s time %.2f s (%.2f-%.2f), peak RSS %.1f MiB (%.1f-%.1f)\n", label, t[int((n + 1) / 2)], t[1], t[n],
               m[int((n + 1) / 2)] / 1024, m[1] / 1024, m[n] / 1024 }'
}
{ measure "$work/big"; } | summary "30 x 10,000 records"
echo "page: $(stat -c %s "$work/out.html") bytes"
{ measure "$work/small"; } | summary "30 x 10 records"
