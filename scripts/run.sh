#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, builds the program, and opens it. Its start directory is run/ in the
# repository: init.usr is created there empty on first use and kept, so learners and results stay.
# The tests are not built here: scripts/test.sh builds them, into the same build/.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

bash "$root/scripts/install-dependencies.sh" build
# Configured as scripts/build.sh configures it, so that the test command goes on from this build.
cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$root/build" --target vokalindo --parallel "$(nproc)"

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "Built, but there is no display to open the window on: run it from a desktop session, or without one: apt-get install -y xvfb && xvfb-run -a bash scripts/run.sh" >&2
    exit 1
fi

start="$root/run"
mkdir -p "$start"
[ -e "$start/init.usr" ] || : >"$start/init.usr"
cd "$start"
exec "$root/build/vokalindo"
