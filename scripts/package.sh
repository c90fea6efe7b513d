#!/usr/bin/env bash
# Installs what is missing, builds a Release of the program into build-package/ and makes the
# Debian package from it; the last line printed is the path of the .deb.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$root/build-package"

bash "$root/scripts/install-dependencies.sh" build
# dpkg-shlibdeps (dpkg-dev) works out the package's library dependencies; it needs file.
missing=()
for package in dpkg-dev file; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    as_root=()
    [ "$(id -u)" -eq 0 ] || as_root=(sudo)
    export DEBIAN_FRONTEND=noninteractive
    "${as_root[@]}" apt-get update -qq
    "${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# The package is built without the tests: they are neither built nor installed.
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF \
      -DCMAKE_INSTALL_PREFIX=/usr >/dev/null
cmake --build "$build" --parallel "$(nproc)"

rm -f "$build"/vokalindo_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
debs=("$build"/vokalindo_*.deb)
if [ ${#debs[@]} -ne 1 ] || [ ! -f "${debs[0]}" ]; then
    echo "cpack made no single vokalindo_*.deb in $build" >&2
    exit 1
fi
echo "${debs[0]}"
