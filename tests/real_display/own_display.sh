#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs a command under an Xvfb of its own, on a display number the server takes itself (-displayfd):
# xvfb-run -a looks for a free number first, which two runs starting at once can both take, and
# the test command runs the Windows tests beside the sanitizers' build of the Linux ones.
#
#   own_display.sh WIDTHxHEIGHTxDEPTH -- COMMAND [ARGUMENT...]
set -euo pipefail
screen="${1:?usage: own_display.sh WIDTHxHEIGHTxDEPTH -- COMMAND...}"
shift
[ "${1:-}" != -- ] || shift
[ $# -gt 0 ] || { echo "own_display.sh: no command" >&2; exit 2; }

work="$(mktemp -d)"
server=""
cleanup() {
    if [ -n "$server" ]; then
        kill "$server" 2>/dev/null || true
        wait "$server" 2>/dev/null || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT

Xvfb -displayfd 3 -screen 0 "$screen" -nolisten tcp 3>"$work/display" >"$work/server.log" 2>&1 &
server=$!
# The server writes its number once it takes connections.
for _ in $(seq 200); do
    [ -s "$work/display" ] && break
    kill -0 "$server" 2>/dev/null || break
    sleep 0.1
done
number="$(tr -dc 0-9 <"$work/display")"
if [ -z "$number" ]; then
    echo "own_display.sh: Xvfb did not start: $(tail -n 3 "$work/server.log" | tr '\n' ' ')" >&2
    exit 1
fi
DISPLAY=":$number" "$@"
