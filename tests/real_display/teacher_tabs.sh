#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The teacher's window on a real X display, driven with the keyboard: a class of eight learners with
# their logs and a shared list; the lists tab; an import through the real file dialog whose preview
# shows a refused row, cancelled; a second import written, and its list compared byte for byte with
# what vokalindo-lists makes of the same file; the print preview of a test sheet; the results tab;
# a learner's page with its chart. A picture of each, when a folder is given.
#   usage (under an X server): teacher_tabs.sh vokalindo-tanar vokalindo-lists generate_class.sh [folder]
set -euo pipefail
program="$1" lists="$2" generate="$3" shots="${4:-}"
pid=""

fail() { echo "FAIL: $*" >&2; exit 1; }
if [ -n "$shots" ]; then
    command -v import >/dev/null || fail "ImageMagick's import is needed for the pictures"
    mkdir -p "$shots"
    shots="$(cd "$shots" && pwd)"
fi
work="$(mktemp -d)"
trap '[ -z "$pid" ] || kill "$pid" 2>/dev/null || true; rm -rf "$work"' EXIT

wait_for() {
    for _ in $(seq 150); do
        if "$@"; then return 0; fi
        sleep 0.1
    done
    return 1
}
# The window whose title matches, once it is shown (at most 20 s).
shown_window() { timeout 20 xdotool search --sync --onlyvisible --limit 1 --name "$1"; }
picture() {
    [ -n "$shots" ] || return 0
    sleep 0.7
    import -window "$1" "$shots/$2.png" || fail "no picture $2"
}
keys() {
    xdotool key --delay 120 "$@"
    sleep 0.4
}

class="$work/5a"
bash "$generate" "$class" 8 60 >/dev/null
mkdir "$class/listak"
printf 'Angol;Magyar;Megjegyzés\r\napple;alma;\r\npear;körte;gyümölcs\r\nplum;szilva;\r\n' >"$work/gyumolcs.csv"
"$lists" import "$work/gyumolcs.csv" --output "$class/listak" 2>/dev/null >/dev/null
printf 'cat;macska\r\ndog;\r\nhorse;ló\r\n' >"$work/hibas.csv"
printf 'cat;macska\r\ndog;kutya\r\nhorse;ló\r\n' >"$work/allatok.csv"

(cd "$work" && exec env QT_QPA_PLATFORM=xcb "$program" --directory "$class") &
pid=$!
window="$(shown_window "tanári ablak$")" || fail "no window appeared"
xdotool windowfocus --sync "$window" 2>/dev/null || true
sleep 1
picture "$window" 16-tanar-szojegyzekek

# An import whose preview shows the refused row; cancelled, nothing written.
# The main window has the keyboard again once a dialog is closed.
focus_window() {
    xdotool windowfocus --sync "$window" 2>/dev/null || true
    sleep 0.3
}
import_file() {
    focus_window
    keys alt+i
    local dialog
    dialog="$(shown_window "^Szójegyzékek importálása$")" || fail "no file dialog for $1"
    xdotool windowfocus --sync "$dialog" 2>/dev/null || true
    sleep 0.3
    xdotool type --delay 20 "$1"
    keys Return
    preview="$(shown_window "előnézet$")" || fail "no preview for $1"
}
import_file "$work/hibas.csv"
picture "$preview" 17-tanar-import-elonezet
keys Escape
[ "$(ls "$class/listak")" = "gyumolcs.szo" ] || fail "a cancelled import wrote: $(ls "$class/listak")"

# Written; the same bytes as the command-line tool writes.
import_file "$work/allatok.csv"
keys alt+k
written() { [ -f "$class/listak/allatok.szo" ]; }
wait_for written || fail "the import wrote nothing: $(ls "$class/listak")"
keys Return # the message that says what was made
mkdir "$work/cli"
"$lists" import "$work/allatok.csv" --output "$work/cli" >/dev/null
cmp "$class/listak/allatok.szo" "$work/cli/allatok.szo" || fail "the window's list differs from vokalindo-lists'"

# The print preview of a test sheet of the first list.
focus_window
keys alt+z Home shift+Down Up
keys alt+n Down
keys alt+y
preview="$(shown_window "^Nyomtatási kép")" || fail "no print preview"
picture "$preview" 18-tanar-nyomtatasi-kep
keys Escape

# The results, and the first learner's page.
focus_window
keys alt+e
sleep 1
picture "$window" 19-tanar-eredmenyek
keys alt+r Down Up Return
page="$(shown_window "eredményei$")" || fail "no learner's page"
picture "$page" 20-tanar-tanulo-lapja
keys Escape
kill "$pid"
wait "$pid" 2>/dev/null || true
pid=""
echo "PASS: the teacher's window, its import, print preview, results and a learner's page"
