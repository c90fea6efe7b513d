#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The program for 64-bit Windows 10 and 11, made on Debian 12: installs what is missing, builds Qt's
# base for Windows once into a cache (scripts/build-qt-windows.sh; ~/.cache/vokalindo, or the
# folder VOKALINDO_CACHE names), cross-builds the program, the lists tool and their tests, runs the
# tests under wine, and writes into dist/
#   vokalindo-VERSION-windows-x64.zip   a folder that runs where it is unpacked
#   vokalindo-VERSION-setup.exe         the installer (NSIS)
# then installs, starts and uninstalls the installer silently under wine. With --build-only it stops
# once the program and its tests are built.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cache="${VOKALINDO_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/vokalindo}"
build="$root/build-windows"
dist="$root/dist"

stage() { echo "== $* ($(date +%T))"; }

stage "what the build needs"
bash "$root/scripts/install-dependencies.sh" build windows

stage "Qt for Windows"
qt="$(bash "$root/scripts/build-qt-windows.sh" "$cache" | tail -n 1)"

# A wine of our own, kept beside the cache: Windows' dialog fonts mapped to Liberation Sans, which
# wine lacks (without it a line edit draws no text).
export WINEPREFIX="$cache/wine-prefix" WINEDEBUG=-all WINEARCH=win64
unset DISPLAY WAYLAND_DISPLAY
if [ ! -f "$WINEPREFIX/.vokalindo-ready" ]; then
    stage "wine's prefix"
    rm -rf "$WINEPREFIX"
    wineboot -i >/dev/null 2>&1 || true
    for face in "MS Shell Dlg" "MS Shell Dlg 2" "Tahoma" "Segoe UI" "Arial"; do
        wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes' /v "$face" /t REG_SZ \
            /d "Liberation Sans" /f >/dev/null 2>&1
    done
    wineserver -w
    touch "$WINEPREFIX/.vokalindo-ready"
fi
# The offscreen platform finds its fonts only in a folder it is told of (wine hands a Windows program
# no QT_ variable: WINEQT_X reaches it as QT_X).
export WINEQT_QPA_FONTDIR='Z:\usr\share\fonts\truetype\liberation2'

stage "the program for Windows"
cmake -S "$root" -B "$build" -G Ninja -Wno-dev \
    -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/windows-toolchain.cmake" \
    -DCMAKE_PREFIX_PATH="$qt" -DCMAKE_FIND_ROOT_PATH="$qt;/usr/x86_64-w64-mingw32" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake >/dev/null
cmake --build "$build" --parallel "$(nproc)"
[ "${1:-}" != --build-only ] || exit 0

stage "the tests under wine"
(cd "$build" && ctest --output-on-failure --timeout 300 --parallel "$(nproc)")

stage "the zip and the installer"
version="$(sed -n 's/^project(Vokalindo VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")"
folder="vokalindo-$version-windows-x64"
rm -rf "${dist:?}/$folder"
mkdir -p "$dist"
cmake --install "$build" --prefix "$dist/$folder" >/dev/null
x86_64-w64-mingw32-strip "$dist/$folder"/*.exe
(cd "$dist" && rm -f "$folder.zip" && cmake -E tar cf "$folder.zip" --format=zip "$folder")
makensis -V2 -DVERSION="$version" -DSOURCE="$dist/$folder" -DOUTFILE="$dist/vokalindo-$version-setup.exe" \
    "$root/packaging/windows/vokalindo.nsi"

stage "the installer under wine"
bash "$root/scripts/check-windows-installer.sh" "$dist/vokalindo-$version-setup.exe"

ls -l "$dist/$folder.zip" "$dist/vokalindo-$version-setup.exe"
