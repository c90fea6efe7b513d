#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Qt's base for 64-bit Windows, static, cross-built once from Debian's own source of the Qt that the
# Linux build uses, against Debian's host tools (moc, rcc, uic). The result is kept in a cache
# folder keyed by the Qt source version, the compiler's version and the configure options below, so
# a second run finds it at once; a change to any of them builds anew beside the old one. Prints the
# folder Qt was installed into.
#   usage: build-qt-windows.sh [cache folder]   (default: $VOKALINDO_CACHE, else ~/.cache/vokalindo)
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cache="${1:-${VOKALINDO_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/vokalindo}}"

source_package=qt6-base
version="$(dpkg-query -W -f='${Version}' libqt6core6)"
compiler=x86_64-w64-mingw32-g++-posix
compiler_version="$("$compiler" -dumpfullversion)"

# What the program needs of Qt's base, and nothing that would reach for libraries Windows lacks.
# Debian's source drops wintab (tablet events) and the dynamic OpenGL loader; direct2d stays off
# (it lacks the DirectWrite font database). Everything Qt would take from the system is bundled.
options=(
    -DBUILD_SHARED_LIBS=OFF -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF
    -DFEATURE_tabletevent=OFF -DINPUT_opengl=no -DFEATURE_opengl=OFF -DFEATURE_vulkan=OFF
    -DFEATURE_network=OFF -DFEATURE_sql=OFF -DFEATURE_dbus=OFF -DFEATURE_xml=OFF -DFEATURE_icu=OFF
    -DFEATURE_concurrent=OFF -DFEATURE_printsupport=ON -DFEATURE_testlib=ON
    -DFEATURE_system_zlib=OFF -DFEATURE_system_png=OFF -DFEATURE_system_jpeg=OFF
    -DFEATURE_system_freetype=OFF -DFEATURE_system_harfbuzz=OFF -DFEATURE_system_pcre2=OFF
    -DFEATURE_system_doubleconversion=OFF -DFEATURE_system_libb2=OFF -DFEATURE_zstd=OFF
)
key="$(printf '%s\n' "$version" "$compiler_version" "${options[@]}" | sha256sum | cut -c1-12)"
prefix="$cache/qt-windows-$version-$key"
if [ -f "$prefix/.complete" ]; then
    echo "$prefix"
    exit 0
fi

work="$cache/qt-windows-build-$key"
rm -rf "$work" "$prefix"
mkdir -p "$work"
cd "$work"

# Debian's source package through a private apt configuration: the machine's own sources are left
# as they are. apt checks what it fetches against Debian's signed index.
mkdir -p apt/sources apt/lists/partial apt/cache/archives/partial
cat >apt/sources/debian-src.sources <<'EOF'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
EOF
apt_options=(-o Dir::Etc::sourcelist=/dev/null -o "Dir::Etc::sourceparts=$work/apt/sources"
             -o "Dir::State::Lists=$work/apt/lists" -o "Dir::Cache=$work/apt/cache" -o Debug::NoLocking=1
             -o APT::Sandbox::User=root)
apt-get "${apt_options[@]}" update -qq
(mkdir -p fetched && cd fetched && apt-get "${apt_options[@]}" source --download-only -qq "$source_package=$version")
# Debian's patches applied, as the Linux build has them.
dpkg-source --no-check -x fetched/*.dsc src >/dev/null

echo "Building Qt $version for Windows (once; kept in $prefix)" >&2
cmake -S src -B build -G Ninja -Wno-dev \
    -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$prefix" \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/windows-toolchain.cmake" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    "${options[@]}" >build.log 2>&1 || { tail -n 40 build.log >&2; exit 1; }
cmake --build build --parallel "$(nproc)" >>build.log 2>&1 || { tail -n 40 build.log >&2; exit 1; }
cmake --install build >>build.log 2>&1 || { tail -n 40 build.log >&2; exit 1; }
touch "$prefix/.complete"
cd /
rm -rf "$work"
echo "$prefix"
