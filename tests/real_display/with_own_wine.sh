#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs a command with a wine prefix of its own, copied from the prepared one (WINEPREFIX). Wine's
# desktop belongs to the first program of a prefix's session: one started without a display (the
# offscreen tests beside this one) would leave every later window of that session off the screen.
#   usage: with_own_wine.sh <command> [its arguments]
set -uo pipefail
own="$(mktemp -d)"
if [ -n "${WINEPREFIX:-}" ] && [ -d "$WINEPREFIX" ]; then
    cp -a "$WINEPREFIX/." "$own/"
    rm -f "$own/wineserver"
fi
export WINEPREFIX="$own"
"$@"
status=$?
wineserver -k 2>/dev/null
rm -rf "$own"
exit "$status"
