#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, builds, and runs every test; no display is needed. Then makes the Debian
# package and checks it (installing it on this computer, with two accounts of a class), checks the
# licence lines, runs the whole suite again under AddressSanitizer and
# UndefinedBehaviorSanitizer, and each fuzz target for 30 s. Last, the Windows build: its tests under
# wine, the zip and the installer, installed and uninstalled under wine (scripts/windows.sh).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
# Each stage says when it begins, so that a slow one shows in the log.
stage() { echo "== $* ($(date +%T))"; }

stage "what the tests need"
bash "$root/scripts/install-dependencies.sh" build test hardening package windows

# Work that needs no result of the Linux part runs beside it in the background, at the lowest
# priority, in the time the tests spend waiting (they keep the processors about a quarter busy): Qt for
# Windows (half an hour on a fresh machine, at once with the cache) and then the Windows program;
# once the Linux build is done, the sanitizers' and the fuzzers' builds. Each stage that needs one
# of them waits for it; a failure shows its log.
logs="$(mktemp -d)"
background=()
# in_background NAME NICENESS COMMAND: the job's pid is left in NAME_job, its output in the logs.
in_background() {
    local name="$1" niceness="$2" io=2
    shift 2
    [ "$niceness" -lt 19 ] || io=3
    # A session of its own is a scheduling group of its own where the kernel groups sessions
    # (autogroup), and would share the processors equally with the foreground whatever its
    # niceness: the group itself is given it too.
    setsid bash -c 'echo "$1" >/proc/self/autogroup 2>/dev/null; exec nice -n "$1" ionice -c "$2" bash -c "$3"' _ \
        "$niceness" "$io" "$*" >"$logs/$name.log" 2>&1 &
    background+=($!)
    eval "${name}_job=$!"
}
# Each job is the leader of a process group of its own: the group goes with it.
stop_background() {
    local job
    for job in "${background[@]}"; do kill -- -"$job" 2>/dev/null || kill "$job" 2>/dev/null || true; done
    rm -rf "$logs"
}
trap stop_background EXIT
# waited_for NAME [whole]: the job's end, and its log's last lines if it failed (its whole log with
# "whole"). What the foreground waits for gets its full share again: at the lowest priority, a
# machine busy with other work would starve it.
waited_for() {
    local name="$1" job="${1}_job" status=0
    echo 0 >"/proc/${!job}/autogroup" 2>/dev/null || true
    renice -n 0 -g "${!job}" >/dev/null 2>&1 || true
    ionice -c 2 -P "${!job}" 2>/dev/null || true
    wait "${!job}" || status=$?
    if [ "${2:-}" = whole ]; then
        cat "$logs/$name.log"
    elif [ "$status" != 0 ]; then
        tail -n 60 "$logs/$name.log"
    fi
    [ "$status" = 0 ] || echo "$name failed in the background" >&2
    return "$status"
}
in_background windows_build 19 "bash '$root/scripts/build-qt-windows.sh' && bash '$root/scripts/windows.sh' --build-only"

stage "the build"
bash "$root/scripts/build.sh"
in_background checks_build 19 "bash '$root/scripts/test-sanitized.sh' --build-only && bash '$root/scripts/fuzz.sh' --build-only"
# The tests that mostly wait run in parallel; the stress tests, whose timing is part of what they
# check, alone after them.
stage "the tests"
(cd "$root/build" && ctest --output-on-failure --parallel "$(nproc)" -LE stress &&
    ctest --output-on-failure -L stress)
# The Debian package, made from the same build, and what it holds.
stage "the package"
deb="$(bash "$root/scripts/package.sh" "$root/build" | tail -n 1)"
bash "$root/scripts/check-package.sh" "$deb"
# Installed as a school's administrator installs it: two accounts of one class share one folder.
stage "a class's two accounts"
bash "$root/scripts/check-classroom.sh" "$deb"
# The licence, and its line in every source file.
bash "$root/scripts/check-licence.sh"
# The code follows the checked-in .clang-format.
bash "$root/scripts/check-format.sh"
# The Windows tests under wine, the zip and the installer mostly wait too: they run beside the
# sanitizers and the fuzzers, and their log follows.
stage "Windows, beside the sanitizers and the fuzzers"
waited_for windows_build
in_background windows 0 "bash '$root/scripts/windows.sh'"
stage "the sanitizers"
waited_for checks_build
bash "$root/scripts/test-sanitized.sh"
stage "fuzzing"
bash "$root/scripts/fuzz.sh" 30
stage "Windows' log"
waited_for windows whole
stage "done"
