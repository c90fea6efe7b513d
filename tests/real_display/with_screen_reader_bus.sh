#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs a journey written in Python under a session bus of its own that carries the AT-SPI bus, as a desktop
# with a screen reader has; the program is told to speak to it even though no screen reader is running.
# Usage (under an X server, e.g. xvfb-run): with_screen_reader_bus.sh journey.py path/to/vokalindo
set -euo pipefail
journey="$1"
program="$2"
# Nothing compiled is left in the source tree.
export PYTHONDONTWRITEBYTECODE=1
# pyatspi comes with Debian's own Python.
python=python3
"$python" -c 'import pyatspi' 2>/dev/null || python=/usr/bin/python3
launcher=/usr/libexec/at-spi-bus-launcher
[ -x "$launcher" ] || launcher=/usr/lib/at-spi2-core/at-spi-bus-launcher
[ -x "$launcher" ] || { echo "FAIL: at-spi2-core is missing" >&2; exit 1; }
"$python" -c 'import pyatspi' || { echo "FAIL: python3-pyatspi is missing" >&2; exit 1; }
exec dbus-run-session -- bash -c '
    "$1" --launch-immediately &
    launcher=$!
    trap "kill $launcher 2>/dev/null || true" EXIT
    sleep 0.5
    "$2" "$3" "$4"
' with_screen_reader_bus "$launcher" "$python" "$journey" "$program"
