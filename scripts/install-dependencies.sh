#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs, from Debian's packages, whatever of the named groups is missing: "build", "test", "screenshot", "hardening", "package", "bench", "windows".
set -euo pipefail

packages=()
for group in "$@"; do
    case "$group" in
        # The class report draws with Qt Charts into SVG; Qt Charts' CMake files ask for Qt OpenGL's.
        # ccache: a second run compiles only what changed (cmake/compiler_cache.cmake).
        build) packages+=(g++ make cmake ccache qt6-base-dev qt6-translations-l10n fonts-liberation2 fonts-dejavu-core
                          qt6-charts-dev qt6-svg-dev libqt6opengl6-dev) ;;
        # The shared-folder tests mount the start directory twice through sshfs from a local sshd, and
        # twice through smbnetfs from a local samba (smbclient sees that it answers). The
        # screen-reader test reads the program over the AT-SPI bus (a session bus of its own, pyatspi).
        # Headless Chromium opens the class report as a teacher's browser would; poppler's pdftotext and
        # pdftoppm read back the word lists' printed pages. faketime runs a program a few minutes ahead,
        # so that a planted folder lock is a minute old without the test waiting a minute.
        test) packages+=(clang-format xvfb xauth xdotool sshfs fuse3 openssh-server openssh-client samba smbclient
                         smbnetfs at-spi2-core dbus python3-pyatspi chromium python3 poppler-utils faketime) ;;
        screenshot) packages+=(xvfb xauth xdotool imagemagick) ;;
        # clang with its libFuzzer and sanitizer runtimes; gcc's sanitizer runtimes come with g++.
        hardening) packages+=(clang-14 libclang-rt-14-dev) ;;
        # dpkg-shlibdeps (dpkg-dev, with file) works out the package's dependencies; help2man makes the
        # manual page from --help; the validators (lintian among them) check the package.
        package) packages+=(dpkg-dev file help2man desktop-file-utils appstream lintian) ;;
        # Windows: the cross-compiler (posix threads, for std::thread), Debian's Qt source unpacked with
        # dpkg-source and built with ninja, wine to run the tests and the installer, NSIS to make it;
        # Xvfb and ImageMagick for the installed window's picture.
        windows) packages+=(g++-mingw-w64-x86-64-posix wine64 wine nsis ninja-build dpkg-dev xvfb xauth xdotool
                            imagemagick librsvg2-bin fonts-liberation2 qt6-translations-l10n) ;;
        # The benchmark's window probe speaks xcb; the codec benchmark uses Google Benchmark.
        bench) packages+=(libxcb1-dev libbenchmark-dev) ;;
        *) echo "unknown package group: $group" >&2; exit 2 ;;
    esac
done

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
as_root=()
[ "$(id -u)" -eq 0 ] || as_root=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get update -qq
"${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
