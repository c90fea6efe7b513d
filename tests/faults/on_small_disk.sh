#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs a test program with VOKALINDO_SMALL_DISK naming an empty folder on a tmpfs of 256 KiB, which
# the test fills for real; a Windows test (.exe) runs under wine, which hands the variable on.
# Mounting needs root: otherwise the test is skipped (status 77).
#   usage: on_small_disk.sh <test program> [its arguments]
set -uo pipefail
if [ "$(id -u)" -ne 0 ]; then
    echo "SKIP: mounting the small tmpfs that is filled for real needs root"
    exit 77
fi
disk="$(mktemp -d)"
trap 'umount "$disk" 2>/dev/null || umount -l "$disk"; rmdir "$disk"' EXIT
mount -t tmpfs -o size=256k,nr_inodes=64,mode=0700 vokalindo-small-disk "$disk" || exit 1
export VOKALINDO_SMALL_DISK="$disk"
case "$1" in
    *.exe) bash "$(dirname "${BASH_SOURCE[0]}")/../run_under_wine.sh" "$@" ;;
    *) "$@" ;;
esac
