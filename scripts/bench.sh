#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Measures the program beside the floor (a bare Qt Widgets window of the same size), in one run on
# this machine, and prints the table:
#   - under Xvfb, alternating program and floor, after one untimed run of each: time from exec to
#     the window mapped, VmRSS/VmHWM a second later, CPU over 10 s while a practice question waits
#     (the floor: a focused line edit), reached with real X events;
#   - under Xvfb, the program's start-up and memory with a registry of 10,000 learners beside an
#     empty one, alternating;
#   - offscreen, the heaviest handlers from click or key to the painted answer, on this disk and on
#     tmpfs (where a file sync costs nothing);
#   - offscreen, the results viewer opening a log of 100,000 records beside one of 100, alternating,
#     one opening a process: time, and memory before, at the peak, shown and after "Vissza";
#   - the word-list codec and answer checking.
# Usage: bash scripts/bench.sh [runs] [viewer]     (7 timed runs of each window by default; with
#        "viewer", the results viewer's measurements alone)
# Installs what is missing with apt-get; builds into build-bench/ only. Not part of the tests.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$root/build-bench"

# Under Xvfb: the window measurements, raw key=value files into the directory given.
if [ "${1:-}" = "--windows" ]; then
    raw="$2"
    runs="$3"
    export QT_QPA_PLATFORM=xcb LC_ALL=C.UTF-8
    unset QT_STYLE_OVERRIDE QT_SCALE_FACTOR QT_SCREEN_SCALE_FACTORS QT_FONT_DPI QT_DEBUG_PLUGINS
    export XDG_RUNTIME_DIR="$raw/runtime"
    mkdir -p -m 700 "$XDG_RUNTIME_DIR"

    # A fresh start directory for every run of the program: the learner, her log, a 20-pair list.
    start_directory() {
        local start
        start="$(mktemp -d "$raw/start.XXXXXX")"
        printf 'Anna\r\n' >"$start/init.usr"
        mkdir "$start/Anna"
        printf 'Anna Eredm\xe9nyei:\r\n' >"$start/Anna/Anna.log"
        for i in $(seq 20); do
            printf '%d\x0eword %d\x0esz\xf3 %d\x0emegjegyz\xe9s\x0e\r\n' "$i" "$i" "$i"
        done >"$start/Anna/lista.szo"
        echo "$start"
    }
    measure() { # which output-file [quick: start-up and memory only]
        local start drive=()
        if [ "${1#registry-}" != "$1" ]; then
            # Start-up alone, with a registry of that many names ("empty": none).
            start="$(mktemp -d "$raw/start.XXXXXX")"
            cp "$raw/$1.usr" "$start/init.usr"
            "$build/window_probe" --dir "$start" -- "$build/vokalindo/vokalindo" >"$2" 2>>"$raw/stderr.log"
        elif [ "$1" = program ]; then
            start="$(start_directory)"
            [ -n "${3:-}" ] || drive=(--drive "bash '$root/bench/drive.sh' question '$start'"
                                      --after "bash '$root/bench/drive.sh' leave '$start'")
            "$build/window_probe" --dir "$start" "${drive[@]}" -- "$build/vokalindo/vokalindo" \
                >"$2" 2>>"$raw/stderr.log"
        else
            [ -n "${3:-}" ] || drive=(--drive "bash '$root/bench/drive.sh' floor")
            "$build/window_probe" "${drive[@]}" -- "$build/floor_window" >"$2" 2>>"$raw/stderr.log"
        fi
    }
    # Once more after a failure (a busy machine can miss a click); a second failure ends the benchmark.
    measure_or_retry() {
        measure "$@" && return 0
        echo "  $1 failed ($(grep window_probe "$raw/stderr.log" | tail -n 1)); once more" >&2
        measure "$@"
    }
    measure program "$raw/warm-up-program"
    measure floor "$raw/warm-up-floor"
    for run in $(seq "$runs"); do
        # Alternate which goes first, so that neither always follows the other.
        if [ $((run % 2)) -eq 1 ]; then order="program floor"; else order="floor program"; fi
        for which in $order; do
            printf '  run %d/%d: %s\n' "$run" "$runs" "$which" >&2
            measure_or_retry "$which" "$raw/$which-full-$run"
        done
    done
    # Start-up and memory alone are quick, and a start-up varies by several milliseconds from one
    # run to the next on a shared machine: six times as many runs again, alternating the same way.
    for run in $(seq $((6 * runs))); do
        if [ $((run % 2)) -eq 1 ]; then order="program floor"; else order="floor program"; fi
        for which in $order; do
            measure_or_retry "$which" "$raw/$which-quick-$run" quick
        done
    done
    # A school's registry beside an empty one, as many runs again, alternating the same way.
    : >"$raw/registry-empty.usr"
    bash "$root/bench/generate.sh" registry 10000 >"$raw/registry-10000.usr"
    for run in $(seq $((6 * runs))); do
        if [ $((run % 2)) -eq 1 ]; then order="registry-10000 registry-empty"; else order="registry-empty registry-10000"; fi
        for which in $order; do
            measure_or_retry "$which" "$raw/$which-quick-$run"
        done
    done
    exit 0
fi

runs="${1:-7}"
only_viewer=""
[ "${2:-}" = viewer ] && only_viewer=1
[[ "$runs" =~ ^[0-9]+$ ]] && [ "$runs" -ge 1 ] && [ $# -le 2 ] && { [ $# -lt 2 ] || [ -n "$only_viewer" ]; } \
    || { echo "usage: bash scripts/bench.sh [runs] [viewer]" >&2; exit 2; }

# What the build needs, then what the measurements need.
bash "$root/scripts/install-dependencies.sh" build test bench

cmake -S "$root/bench" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --parallel "$(nproc)" >/dev/null

raw="$build/results"
rm -rf "$raw"
mkdir -p "$raw"

# Median, minimum and maximum of the numbers on standard input.
stats() { sort -g | awk '{ v[NR] = $1 } END { if (NR == 0) exit 1;
    m = NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2; print m, v[1], v[NR] }'; }
# One key of every timed run of one kind ("program", "floor", "registry-10000", "viewer-100000", …),
# scaled; keys that only the full runs have come from those alone.
values() { # which key divisor
    for file in "$raw/$1"-full-* "$raw/$1"-quick-* "$raw/$1"-run-*; do
        [ -e "$file" ] || continue
        awk -F= -v key="$2" -v d="$3" '$1 == key { printf "%.6f\n", $2 / d }' "$file"
    done
}

mkdir -p "$raw/runtime"
chmod 700 "$raw/runtime"
export XDG_RUNTIME_DIR="$raw/runtime"
if [ -z "$only_viewer" ]; then
echo "Windows under Xvfb: 1 untimed + $runs full + $((6 * runs)) start-up runs of each, alternating, then $((6 * runs))" \
     "of each registry (about $((runs * 60 / 60 + 3)) min)" >&2
# A display of its own, away from the numbers from 99 up that "xvfb-run -a" hands out to whatever
# else runs on this machine.
display=150
while [ -e "/tmp/.X$display-lock" ] || [ -e "/tmp/.X11-unix/X$display" ]; do display=$((display + 1)); done
load_before="$(cut -d' ' -f1-3 /proc/loadavg)"
if ! xvfb-run -n "$display" -s "-screen 0 1024x768x24 -nolisten tcp" bash "$0" --windows "$raw" "$runs"; then
    echo "The window measurements failed:" >&2
    grep -v XDG_RUNTIME_DIR "$raw/stderr.log" | tail -n 20 >&2
    exit 1
fi
load_after="$(cut -d' ' -f1-3 /proc/loadavg)"

echo "Handlers, offscreen (about a minute)" >&2
mkdir -p "$build/tmp" "$raw/runtime"
chmod 700 "$raw/runtime"
export XDG_RUNTIME_DIR="$raw/runtime"
handlers() { # temporary-directory output
    TMPDIR="$1" QT_QPA_PLATFORM=offscreen LC_ALL=C.UTF-8 "$build/handler_bench" >"$2" 2>>"$raw/stderr.log" || {
        echo "The handler measurements failed:" >&2
        grep handler_bench "$raw/stderr.log" | tail -n 5 >&2
        exit 1
    }
}
handlers "$build/tmp" "$raw/handlers-disk"
handlers_tmpfs=""
if [ "$(stat -f -c %T /dev/shm 2>/dev/null)" = tmpfs ] && [ -w /dev/shm ]; then
    handlers /dev/shm "$raw/handlers-tmpfs"
    handlers_tmpfs="$raw/handlers-tmpfs"
fi

fi

echo "Results viewer, offscreen: $runs openings of each log, alternating" >&2
bash "$root/bench/generate.sh" log 100 >"$raw/viewer-100.log"
bash "$root/bench/generate.sh" log 100000 >"$raw/viewer-100000.log"
for run in $(seq "$runs"); do
    if [ $((run % 2)) -eq 1 ]; then order="100000 100"; else order="100 100000"; fi
    for records in $order; do
        QT_QPA_PLATFORM=offscreen LC_ALL=C.UTF-8 "$build/viewer_bench" "$raw/viewer-$records.log" \
            >"$raw/viewer-$records-run-$run" 2>>"$raw/stderr.log" || {
            echo "The viewer measurements failed:" >&2
            grep viewer_bench "$raw/stderr.log" | tail -n 5 >&2
            exit 1
        }
    done
done

if [ -z "$only_viewer" ]; then
echo "Codec and answer checking (Google Benchmark)" >&2
"$build/codec_bench" --benchmark_repetitions=9 --benchmark_min_time=0.2 --benchmark_format=csv \
    >"$raw/codec.csv" 2>>"$raw/stderr.log"
# A benchmark that found a wrong result reports error_occurred: then its time means nothing.
if grep -q ',true,' "$raw/codec.csv"; then
    echo "The codec measurements found a fault:" >&2
    grep ',true,' "$raw/codec.csv" >&2
    exit 1
fi
fi

# The table.
row() { # label key divisor [which against-which]   (the program against the floor unless given)
    local n one="${4:-program}" other="${5:-floor}"
    n="$(values "$one" "$2" "$3" | wc -l)"/"$(values "$other" "$2" "$3" | wc -l)"
    read -r pm plo phi < <(values "$one" "$2" "$3" | stats)
    read -r fm flo fhi < <(values "$other" "$2" "$3" | stats)
    printf '%s\t%s\t%.2f (%.2f-%.2f)\t%.2f (%.2f-%.2f)\t%s\n' "$1" "$n" "$pm" "$plo" "$phi" "$fm" "$flo" "$fhi" \
        "$(awk -v p="$pm" -v f="$fm" 'BEGIN { printf "%.3f", p / f }')"
}
# Lines of tab-separated cells as columns two spaces apart.
align() {
    awk -F'\t' '{ for (i = 1; i <= NF; i++) { cell[NR, i] = $i; if (length($i) > width[i]) width[i] = length($i) }
                   if (NF > columns) columns = NF; rows = NR }
         END { for (r = 1; r <= rows; r++) { line = ""
                   for (i = 1; i <= columns; i++) line = line sprintf("%-" width[i] + 2 "s", cell[r, i])
                   sub(/ +$/, "", line); print line } }'
}
verdict_ratio() { awk -v r="$1" 'BEGIN { print (r <= 1.10 ? "yes" : "NO") }'; }

if [ -z "$only_viewer" ]; then
echo
echo "Vokalindo beside the floor: $(nproc) CPUs, $(uname -r), Qt $(dpkg-query -W -f='${Version}' libqt6core6 2>/dev/null || echo 6),"\
     "Xvfb 1024x768x24, Fusion, Liberation Sans 8.25 pt;"\
     "load average $load_before before, $load_after after; median (min-max)"
{
    printf 'Measure\tRuns\tProgram\tFloor\tRatio\tTarget\tMet\n'
    line="$(row 'Start-up: exec to window mapped (ms)' startup_ms 1)"
    printf '%s\t<= 1.10x\t%s\n' "$line" "$(verdict_ratio "${line##*$'\t'}")"
    printf '%s\t\t\n' "$(row '  CPU time used by then (ms)' startup_cpu_ms 1)"
    line="$(row 'VmRSS 1 s after the map (MiB)' rss_kb 1024)"
    printf '%s\t<= 1.10x\t%s\n' "$line" "$(verdict_ratio "${line##*$'\t'}")"
    line="$(row 'VmHWM 1 s after the map (MiB)' hwm_kb 1024)"
    printf '%s\t<= 1.10x\t%s\n' "$line" "$(verdict_ratio "${line##*$'\t'}")"
    line="$(row 'CPU while waiting 10 s (ms per s)' idle_cpu_ms_per_s 1)"
    read -r pm _ < <(values program idle_cpu_ms_per_s 1 | stats)
    read -r fm _ < <(values floor idle_cpu_ms_per_s 1 | stats)
    printf '%s\t<= floor + 1\t%s\n' "$line" \
        "$(awk -v p="$pm" -v f="$fm" 'BEGIN { printf "%s (%+.2f)", (p <= f + 1 ? "yes" : "NO"), p - f }')"
    printf '%s\t\t\n' "$(row 'Wake-ups while waiting (per s)' idle_wakeups_per_s 1)"
    printf '%s\t\t\n' "$(row 'VmRSS while waiting (MiB)' idle_rss_kb 1024)"
} | align

echo
echo "Start-up with a registry of 10,000 learners ($(stat -c %s "$raw/registry-10000.usr") bytes) beside an empty one, Xvfb; median (min-max)"
{
    printf 'Measure\tRuns\t10,000 names\tEmpty\tRatio\tTarget\tMet\n'
    line="$(row 'Start-up: exec to window mapped (ms)' startup_ms 1 registry-10000 registry-empty)"
    printf '%s\t<= 1.10x\t%s\n' "$line" "$(verdict_ratio "${line##*$'\t'}")"
    printf '%s\t\t\n' "$(row '  CPU time used by then (ms)' startup_cpu_ms 1 registry-10000 registry-empty)"
    printf '%s\t\t\n' "$(row 'VmRSS 1 s after the map (MiB)' rss_kb 1024 registry-10000 registry-empty)"
    printf '%s\t\t\n' "$(row 'VmHWM 1 s after the map (MiB)' hwm_kb 1024 registry-10000 registry-empty)"
} | align

fi

echo
big_log="$(stat -c %s "$raw/viewer-100000.log")"
echo "Results viewer (Eredmények Megtekintése), offscreen, one opening a process: a log of 100,000 records"\
     "($big_log bytes) beside one of 100 ($(stat -c %s "$raw/viewer-100.log") bytes); median (min-max)"
{
    printf 'Measure\tRuns\t100,000 records\t100 records\tRatio\tTarget\tMet\n'
    line="$(row 'Click to the log painted (ms)' painted_ms 1 viewer-100000 viewer-100)"
    read -r vm _ < <(values viewer-100000 painted_ms 1 | stats)
    printf '%s\t< 300 ms\t%s\n' "$line" "$(awk -v v="$vm" 'BEGIN { print (v < 300 ? "yes" : "NO") }')"
    printf '%s\t\t\n' "$(row '  CPU time of it (ms)' painted_cpu_ms 1 viewer-100000 viewer-100)"
    printf '%s\t\t\n' "$(row 'VmRSS before (MiB)' rss_before_kb 1024 viewer-100000 viewer-100)"
    printf '%s\t\t\n' "$(row 'VmHWM, the peak, with the log shown (MiB)' hwm_kb 1024 viewer-100000 viewer-100)"
    printf '%s\t\t\n' "$(row 'VmRSS with the log shown (MiB)' rss_shown_kb 1024 viewer-100000 viewer-100)"
    printf '%s\t\t\n' "$(row 'VmRSS after "Vissza" (MiB)' rss_after_kb 1024 viewer-100000 viewer-100)"
    printf '%s\t\t\n' "$(row '"Vissza" (ms)' leave_ms 1 viewer-100000 viewer-100)"
} | align
# Per opening, what the click took over the memory before it: at the peak, and left after "Vissza"
# (the 100-record log leaves as much: the viewer's own fonts and caches).
over() { # which key
    for file in "$raw/$1"-run-*; do
        awk -F= -v key="$2" '$1 == "rss_before_kb" { b = $2 } $1 == key { v = $2 } END { printf "%.6f\n", (v - b) / 1024 }' "$file"
    done
}
read -r peak_over _ < <(over viewer-100000 hwm_kb | stats)
read -r left_long _ < <(over viewer-100000 rss_after_kb | stats)
read -r left_short _ < <(over viewer-100 rss_after_kb | stats)
awk -v p="$peak_over" -v l="$left_long" -v k="$left_short" -v s="$big_log" 'BEGIN {
    printf "100,000 records: the peak is %.1f MiB over the memory before the click, %.2fx the log'"'"'s size (target: under 2x: %s);\n", \
        p, p * 1048576 / s, (p * 1048576 < 2 * s ? "yes" : "NO")
    printf "after \"Vissza\" %.1f MiB are left over it (after the 100-record log: %.1f MiB)\n", l, k }'

if [ -z "$only_viewer" ]; then
echo
echo "Handlers, offscreen, click or key to the painted answer; files on $(df --output=fstype "$build/tmp" | tail -n 1) ($build/tmp):"
cat "$raw/handlers-disk"
if [ -n "$handlers_tmpfs" ]; then
    echo
    echo "The same on tmpfs (/dev/shm), where a file sync costs nothing:"
    cat "$handlers_tmpfs"
fi

echo
echo "Codec and answer checking, Google Benchmark, 9 repetitions of >= 0.2 s; time per call: median (min-max)"
awk -F, '
    /^"/ && $1 !~ /_(mean|median|stddev|cv)"$/ {
        gsub(/"/, "", $1)
        n[$1]++; t[$1, n[$1]] = $3 / ($5 == "ns" ? 1000 : 1); unit[$1] = "us"
        if (!($1 in seen)) { seen[$1] = 1; order[++names] = $1 }
    }
    END {
        for (i = 1; i <= names; i++) {
            name = order[i]; k = n[name]
            for (a = 1; a <= k; a++) v[a] = t[name, a]
            for (a = 1; a <= k; a++) for (b = a + 1; b <= k; b++) if (v[b] < v[a]) { x = v[a]; v[a] = v[b]; v[b] = x }
            m = k % 2 ? v[(k + 1) / 2] : (v[k / 2] + v[k / 2 + 1]) / 2
            printf "  %-20s %10.2f %s  (%.2f-%.2f)\n", name, m, unit[name], v[1], v[k]
        }
    }' "$raw/codec.csv"
fi
echo
echo "Raw results: $raw"
