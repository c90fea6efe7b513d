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
# Qt for Windows is built once into a cache, which takes a fresh machine about half an hour. That
# build runs beside the Linux part, at the lowest priority, in the time the tests spend waiting; with
# the cache in place it ends at once.
qt_log="$(mktemp)"
setsid nice -n 19 ionice -c 3 bash "$root/scripts/build-qt-windows.sh" >"$qt_log" 2>&1 &
qt_build=$!
trap 'kill -- -"$qt_build" 2>/dev/null || kill "$qt_build" 2>/dev/null || true; rm -f "$qt_log"' EXIT

stage "the build"
bash "$root/scripts/build.sh"
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
stage "the sanitizers"
bash "$root/scripts/test-sanitized.sh"
stage "fuzzing"
bash "$root/scripts/fuzz.sh" 30
stage "Windows"
wait "$qt_build" || { echo "Qt for Windows could not be built:" >&2; tail -n 40 "$qt_log" >&2; exit 1; }
bash "$root/scripts/windows.sh"
stage "done"
