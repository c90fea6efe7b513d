#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Makes a class's start directory for the class report, in Windows-1250 with CR LF as the program
# stores it:
#   generate_class.sh DIR LEARNERS RECORDS
# DIR/init.usr lists LEARNERS learners ("Kovács Anna 1"); each has DIR/<name>/<name>.log with its
# header line and RECORDS records of runs, about 170 bytes a record: dates in the Hungarian, ISO,
# American, German and C locales' short forms, lists with commas in their names, every third run
# left early. One more learner, last in the registry, has only the header line: no run yet.
set -euo pipefail
[ $# -eq 3 ] && [[ "$2" =~ ^[0-9]+$ ]] && [[ "$3" =~ ^[0-9]+$ ]] || {
    echo "usage: generate_class.sh DIR LEARNERS RECORDS" >&2
    exit 2
}
export LC_ALL=C
directory="$1" learners="$2" records="$3"
mkdir -p "$directory"

awk -v n="$learners" 'BEGIN {
    split("Nagy Kov\341cs T\363th Szab\363 Horv\341th Varga Kiss Moln\341r N\351meth Farkas", families, " ")
    split("Anna B\351la Csenge D\341niel \301d\341m Zs\363fia", givens, " ")
    for (i = 0; i < n; i++)
        printf "%s %s %d\r\n", families[i % 10 + 1], givens[int(i / 10) % 6 + 1], i + 1
    printf "\332j Tanul\363\r\n"
}' > "$directory/init.usr"

learner=0
while IFS= read -r -d $'\r' name; do
    read -r -n 1 _ # the LF after the CR
    learner=$((learner + 1))
    # The registry holds the name in the code page; the file system holds it in UTF-8.
    path="$directory/$(printf '%s' "$name" | iconv -f CP1250 -t UTF-8)"
    mkdir -p "$path"
    count=$records
    [ "$learner" -gt "$learners" ] && count=0
    awk -v n="$count" -v name="$name" -v seed="$learner" 'BEGIN {
        printf "%s Eredm\351nyei:\r\n", name
        directions[0] = " Angol - Magyar"; directions[1] = " Magyar - Angol"; directions[2] = "     Vegyes    "
        split("Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec", months, " ")
        for (i = 0; i < n; i++) {
            day = i % 28 + 1; month = int(i / 28) % 12 + 1; year = 2016 + int(i / 336) % 10
            form = (i + seed) % 5
            if (form == 0) date = sprintf("%d. %02d. %02d.", year, month, day)
            else if (form == 1) date = sprintf("%d-%02d-%02d", year, month, day)
            else if (form == 2) date = sprintf("%d/%d/%02d", month, day, year % 100)
            else if (form == 3) date = sprintf("%02d.%02d.%02d", day, month, year % 100)
            else date = sprintf("%d %s %d", day, months[month], year)
            printf "%s, %d:%02d:%02d,  N\351v: %s", date, 8 + i % 12, i % 60, (i * 7) % 60, name
            if (i % 3 == 0)
                printf ",  Csal\341s volt! (vissza)"
            wrong = (i * 7 + seed) % 13; if (wrong > 20 - int(i * 15 / (n + 1))) wrong = 20 - int(i * 15 / (n + 1))
            printf ",  A sz\363jegyz\351k neve: lecke %d, %s,  A felhozatal: %s,  Megmutattam: %d,  Hib\341k Sz\341ma: %d," \
                   "  A szavak sz\341ma: %d\r\n", (i + seed) % 12, (i % 2 ? "igek" : "fonevek"), directions[i % 3],
                   (i * 3 + seed) % 5, wrong, 10 + i % 11
        }
    }' > "$path/$(basename "$path").log"
done < "$directory/init.usr"
