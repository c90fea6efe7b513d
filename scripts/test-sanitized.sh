#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the program and every test with AddressSanitizer and UndefinedBehaviorSanitizer into
# build-asan/ and runs the whole suite there: any memory error, leak or undefined behaviour fails it.
# With --build-only it stops once everything is built.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

sanitizers="-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer"
# A unity build compiles the sources a few at a time, which nearly halves the build on two cores.
cmake -S "$root" -B "$root/build-asan" -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g1" \
    -DCMAKE_UNITY_BUILD=ON -DCMAKE_CXX_FLAGS="$sanitizers" -DCMAKE_EXE_LINKER_FLAGS="$sanitizers" >/dev/null
cmake --build "$root/build-asan" --parallel "$(nproc)"
[ "${1:-}" != --build-only ] || exit 0

export ASAN_OPTIONS="detect_leaks=1:check_initialization_order=1"
export LSAN_OPTIONS="suppressions=$root/scripts/lsan-suppressions.txt:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
cd "$root/build-asan"
# The crash, concurrency and network-share tests have run in the plain build already; they drive many
# processes at once, and under the sanitizers' slowdown their timing says more about the load than
# about the program. The screen-reader and keyboard-only journeys (a minute each) go through the
# handlers that the widget tests and the real-display journey run here.
ctest --output-on-failure --parallel "$(nproc)" -LE 'stress|keys_only'
