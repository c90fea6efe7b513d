#!/usr/bin/env bash
# Takes docs/start-screen.png from the real program in a virtual X server.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

if [ "${1:-}" != "--inside-x" ]; then
    bash "$root/scripts/install-dependencies.sh" build screenshot
    bash "$root/scripts/build.sh"
    exec xvfb-run -a -s "-screen 0 800x600x24" bash "$0" --inside-x
fi

start="$(mktemp -d)"
printf 'Anna\r\nKis B\xe9la\r\n' >"$start/init.usr"
(cd "$start" && exec "$root/build/vokalindo") &
pid=$!
trap 'kill "$pid" 2>/dev/null || true; rm -rf "$start"' EXIT

window="$(timeout 15 xdotool search --sync --onlyvisible --limit 1 --name "^Angol - Magyar")"
sleep 1
mkdir -p "$root/docs"
import -window "$window" "$root/docs/start-screen.png"
echo "wrote docs/start-screen.png"
