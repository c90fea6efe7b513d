#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, builds, and runs every test; no display is needed. Then makes the Debian
# package and checks it (installing it on this computer, with two accounts of a class), checks the
# licence lines, runs the whole suite again under AddressSanitizer and
# UndefinedBehaviorSanitizer, and each fuzz target for 30 s. Last, the Windows build: its tests under
# wine, the zip and the installer, installed and uninstalled under wine (scripts/windows.sh; Qt for
# Windows is built once into a cache, which a fresh machine's first run takes about half an hour for).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

bash "$root/scripts/install-dependencies.sh" build test hardening package
bash "$root/scripts/build.sh"
(cd "$root/build" && ctest --output-on-failure)
# The Debian package, made from the same build, and what it holds.
deb="$(bash "$root/scripts/package.sh" "$root/build" | tail -n 1)"
bash "$root/scripts/check-package.sh" "$deb"
# Installed as a school's administrator installs it: two accounts of one class share one folder.
bash "$root/scripts/check-classroom.sh" "$deb"
# The licence, and its line in every source file.
bash "$root/scripts/check-licence.sh"
# The code follows the checked-in .clang-format.
bash "$root/scripts/check-format.sh"
bash "$root/scripts/test-sanitized.sh"
bash "$root/scripts/fuzz.sh" 30
bash "$root/scripts/windows.sh"
