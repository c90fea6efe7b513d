#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Writes the benchmark's generated files to standard output, in Windows-1250 with CR LF as the
# program stores them:
#   generate.sh registry N   init.usr with N different learners ("Kovács Anna 3"), in no order
#   generate.sh log N        Anna's results log: its header line and N records of runs of varied
#                            dates, lists, directions and counts, about 165 bytes a record
set -euo pipefail
[ $# -eq 2 ] && [[ "$2" =~ ^[0-9]+$ ]] || { echo "usage: generate.sh registry|log N" >&2; exit 2; }
export LC_ALL=C

case "$1" in
registry)
    awk -v n="$2" 'BEGIN {
        split("Nagy Kov\341cs T\363th Szab\363 Horv\341th Varga Kiss Moln\341r N\351meth Farkas Balogh Papp " \
              "Tak\341cs Juh\341sz Lakatos M\351sz\341ros Ol\341h Simon R\341cz Fekete", families, " ")
        split("Anna Bence Csenge D\341niel Eszter Ferenc Gerg\365 Hanna Istv\341n J\372lia Kata L\341szl\363 " \
              "M\341rk N\363ra Oliv\351r P\351ter R\351ka S\341ra Tam\341s Zs\363fia Lilla Bal\341zs \301d\341m " \
              "Petra Zolt\341n", givens, " ")
        for (i = 0; i < n; i++)
            printf "%s %s %d\r\n", families[i % 20 + 1], givens[int(i / 20) % 25 + 1], int(i / 500) + 1
    }'
    ;;
log)
    awk -v n="$2" 'BEGIN {
        printf "Anna Eredm\351nyei:\r\n"
        directions[0] = " Angol - Magyar"; directions[1] = " Magyar - Angol"; directions[2] = "     Vegyes    "
        for (i = 0; i < n; i++) {
            printf "%d. %02d. %02d., %d:%02d:%02d,  N\351v: Anna", 2010 + int(i / 336) % 16, int(i / 28) % 12 + 1,
                i % 28 + 1, 8 + i % 12, i % 60, (i * 7) % 60
            if (i % 3 == 0)
                printf ",  Csal\341s volt! (vissza)"
            printf ",  A sz\363jegyz\351k neve: lecke%d.szo,  A felhozatal: %s,  Megmutattam: %d,  Hib\341k Sz\341ma: %d," \
                   "  A szavak sz\341ma: %d\r\n", i % 40, directions[i % 3], i % 7, i % 11, 20 + i % 31
        }
    }'
    ;;
*)
    echo "usage: generate.sh registry|log N" >&2
    exit 2
    ;;
esac
