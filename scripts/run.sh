#!/usr/bin/env bash
# Installs what is missing, builds, and opens the program. Its start directory is run/ in the
# repository: init.usr is created there empty on first use and kept, so learners and results stay.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

bash "$root/scripts/install-dependencies.sh" build
bash "$root/scripts/build.sh"

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "Built, but there is no display to open the window on: run it from a desktop session, or without one: apt-get install -y xvfb && xvfb-run -a bash scripts/run.sh" >&2
    exit 1
fi

start="$root/run"
mkdir -p "$start"
[ -e "$start/init.usr" ] || : >"$start/init.usr"
cd "$start"
exec "$root/build/vokalindo"
