#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs a Windows test program under wine. What a Windows program writes to its standard output does
# not reach the terminal through wine, so the test's log goes to a file, printed here after it ends;
# the status is the test's own.
#   usage: run_under_wine.sh <test.exe> [its arguments]
set -uo pipefail
log="$(mktemp)"
trap 'rm -f "$log"' EXIT
wine "$@" -o "$log,txt"
status=$?
tr -d '\r' <"$log"
exit "$status"
