#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The quick loop while working on the code, as any user and without changing the computer: builds
# into build/ and runs the unit and widget tests (CTest labels "unit" and "widget"), in about a
# minute once the first build is done. The packages it builds with come from
# `sudo bash scripts/install-dependencies.sh build test`, once. scripts/test.sh is the full run.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

command -v cmake >/dev/null && command -v g++ >/dev/null || {
    echo "check.sh: cmake or g++ is missing: run 'sudo bash scripts/install-dependencies.sh build test' once" >&2
    exit 2
}
bash "$root/scripts/build.sh"
cd "$root/build"
ctest --output-on-failure --parallel "$(nproc)" -L '^(unit|widget)$'
