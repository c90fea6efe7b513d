#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, builds a Release of the program into build-package/ (or uses the build
# tree given) and makes the Debian package from it; the last line printed is the path of the .deb.
#   bash scripts/package.sh [BUILD-DIR]
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$root/build-package"

bash "$root/scripts/install-dependencies.sh" build package
if [ $# -ge 1 ]; then
    # A build tree that is there already (the tests' own): its tests are built but never installed.
    build="$(cd "$1" && pwd)"
else
    # The package is built without the tests: they are neither built nor installed.
    cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF \
          -DCMAKE_INSTALL_PREFIX=/usr >/dev/null
fi
cmake --build "$build" --parallel "$(nproc)"

rm -f "$build"/vokalindo_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
debs=("$build"/vokalindo_*.deb)
if [ ${#debs[@]} -ne 1 ] || [ ! -f "${debs[0]}" ]; then
    echo "cpack made no single vokalindo_*.deb in $build" >&2
    exit 1
fi
echo "${debs[0]}"
