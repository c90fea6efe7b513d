#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test; no display is needed.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

bash "$root/scripts/install-dependencies.sh" build test
bash "$root/scripts/build.sh"
cd "$root/build"
ctest --output-on-failure
