#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Takes the pictures of docs/screens/ from the real program in a virtual X server: a learner's whole journey
# (tests/real_display/journey.sh) with a picture of each screen on the way. Dates and times are Hungarian.
# Usage: scripts/screenshot.sh [path/to/vokalindo]
# Without a program it installs what is missing and builds build/vokalindo first.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

if [ $# -ge 1 ]; then
    program="$(cd "$(dirname "$1")" && pwd)/$(basename "$1")"
    bash "$root/scripts/install-dependencies.sh" screenshot
else
    bash "$root/scripts/install-dependencies.sh" build screenshot
    bash "$root/scripts/build.sh"
    program="$root/build/vokalindo"
fi

# The pictures go to docs/screens/ only once the whole journey has passed.
pictures="$(mktemp -d)"
trap 'rm -rf "$pictures"' EXIT
LC_TIME=hu_HU.UTF-8 xvfb-run -a -s "-screen 0 1024x768x24" \
    bash "$root/tests/real_display/journey.sh" "$program" "$pictures"

out="$root/docs/screens"
mkdir -p "$out"
# The journey's pictures replace their old selves; the class report's picture is taken elsewhere.
cp "$pictures"/*.png "$out/"
for picture in "$pictures"/*.png; do echo "wrote docs/screens/${picture##*/}"; done
