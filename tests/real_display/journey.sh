#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The whole journey of a learner on a real X display, driven with the mouse and the keyboard as a person drives
# it: real clicks at the controls' places, Hungarian text typed key by key, Enter and Tab, the real file dialogs.
#   1. add the learner "Kis Ágnes", pick the name from the drop-down list, sign in;
#   2. build a list of three pairs and save it through the save dialog;
#   3. load it for editing, change two cells in place, save it back with "Mentés és Vissza";
#   4. load it for practice, practise "Magyar-Angol" to the end with one wrong answer and one "Megmutatja", leave;
#   5. start a mixed run and leave it at once;
#   6. "Mégse", "Név Váltás", pick the learner again, view the results, back; EXIT;
# then, in a directory without a registry, the start-up message and exit status 1.
# Afterwards the registry, the word list and the results log are checked byte for byte.
#
# Usage (under an X server, e.g. xvfb-run): journey.sh path/to/vokalindo [folder]
# With a folder, a picture of each screen on the way is saved there (needs ImageMagick's import).
# JOURNEY_UNDER_WINE=1: the program is the Windows build run by wine; a whole path is typed as
# Windows writes it (Z:\ is wine's name for the root folder).
set -euo pipefail
program="$1"
shots="${2:-}"
caption="Angol - Magyar - Angol   Vokalindo"
pid=""

fail() { echo "FAIL: $*" >&2; exit 1; }

command -v iconv >/dev/null || fail "iconv is missing"
if [ -n "$shots" ]; then
    command -v import >/dev/null || fail "ImageMagick's import is needed for the pictures"
    mkdir -p "$shots"
    shots="$(cd "$shots" && pwd)"
fi

start="$(mktemp -d)"
trap '[ -z "$pid" ] || kill "$pid" 2>/dev/null || true; rm -rf "$start"' EXIT
: >"$start/init.usr"

# The helpers that drive the display: wait_for, click_control, type_text, pick_the_learner, answer_file_dialog,
# picture, hex_bytes, cp1250 and more.
source "$(dirname "${BASH_SOURCE[0]}")/x_helpers.sh"

(cd "$start" && exec env QT_QPA_PLATFORM=xcb "$program") &
pid=$!

window="$(timeout 60 xdotool search --sync --onlyvisible --limit 1 --name "^Angol - Magyar")" || fail "no window appeared"
[ "$(xdotool getwindowname "$window")" = "$caption" ] || fail "window title is '$(xdotool getwindowname "$window")'"
sleep 0.5
xdotool windowfocus --sync "$window" 2>/dev/null || true
picture 01-start

# 1. "Új Név Felvétele", the name (a space, a capital accented letter) and Enter.
learner="Kis Ágnes"
click_control Command4
type_text "$learner"
xdotool key Return
registry="$start/init.usr"
registry_written() { [ -s "$registry" ]; }
wait_for registry_written || fail "the registry did not get the new name: $(od -c "$registry")"
sleep 0.2
# "Kis Ágnes" CR LF, with Á as c1.
[ "$(hex_bytes "$registry")" = " 4b 69 73 20 c1 67 6e 65 73 0d 0a" ] || fail "registry bytes: $(od -An -tx1 "$registry")"
home="$start/$learner"
log="$home/$learner.log"
[ -f "$log" ] || fail "no results log was created: $(ls -la "$start")"

pick_the_learner
picture 02-name-picked
# "Belépés" leads to the main menu.
click_control Command5
picture 03-main-menu

# 2. "Új Szójegyzék Készítése". With the entry order "Angol - Magyar", Enter walks from the English box to the
# Hungarian one, to the note, to "Szópár felvétele", and a further Enter adds the pair. Every English side is
# "fruit" (the third one with a slip, mended in step 3), so practice from Hungarian knows every answer whatever
# the order; the first Hungarian side holds two answers, the second pair has no note.
click_control Új_Com1
add_pair() { # English, the key that leaves its box, Hungarian, note
    type_text "$1"
    xdotool key "$2"
    type_text "$3"
    xdotool key Return
    [ -z "$4" ] || type_text "$4"
    xdotool key Return Return
    sleep 0.2
}
add_pair "fruit" Return "alma, körte" "Ősszel érik"
# Tab leads from the English box to the Hungarian one as well.
add_pair "fruit" Tab "szilva" ""
add_pair "fruits" Return "oszibarack" "Édes, szőrös héjú"
picture 04-list-building

# "Bevitel Mentése és Befejezése": the save dialog starts in the learner's directory and adds the extension.
list="$home/gyümölcsök.szo"
click_control Command1
answer_file_dialog "gyümölcsök" "saving the new list"
list_written() { [ -s "$list" ]; }
wait_for list_written || fail "no word list was saved: $(ls -la "$home")"
[ "$(xdotool getwindowname "$window")" = "$caption" ] || fail "window title after saving is '$(xdotool getwindowname "$window")'"
# Each pair: number, English, Hungarian, note (a space when there is none), each closed by 0x0E, then CR LF.
list_text() {
    local text="" record
    for record in "$@"; do text+="${record//|/$'\x0e'}"$'\x0e'"$crlf"; done
    cp1250 "$text"
}
expected_list="$(list_text "1|fruit|alma, körte|Ősszel érik" "2|fruit|szilva| " "3|fruits|oszibarack|Édes, szőrös héjú")"
[ "$(hex_bytes "$list")" = "$expected_list" ] || fail "word list bytes after saving: $(od -c "$list")"

# 3. "Szójegyzék szerkesztése": the open dialog starts in the learner's directory too; the name is enough.
click_control Szerkeszt_Comm
answer_file_dialog "gyümölcsök.szo" "loading the list for editing"
# Mend the English side of pair 3: a double-click opens the editor over the cell, Ctrl+A and the word replace its
# text, Enter writes it back.
double_click_cell 3 1
xdotool key ctrl+a
type_text "fruit"
xdotool key Return
sleep 0.2
# Then the Hungarian side of the same pair, with its accent; this editor is left open, and "Mentés és Vissza"
# writes it back before saving.
double_click_cell 3 2
xdotool key ctrl+a
type_text "őszibarack"
picture 05-list-editing
list_before="$(hex_bytes "$list")"
click_control Szerk_kész_Comm
list_changed() { [ "$(hex_bytes "$list")" != "$list_before" ]; }
wait_for list_changed || fail "'Mentés és Vissza' did not write the list: $(od -c "$list")"
sleep 0.2
expected_list="$(list_text "1|fruit|alma, körte|Ősszel érik" "2|fruit|szilva| " "3|fruit|őszibarack|Édes, szőrös héjú")"
[ "$(hex_bytes "$list")" = "$expected_list" ] || fail "word list bytes after editing: $(od -c "$list")"

# 4. "Szójegyzék betöltése", this time with the whole path typed into the open dialog.
click_control Gyak_be_Com2
typed_path="$list"
[ -z "${JOURNEY_UNDER_WINE:-}" ] || typed_path="Z:${list//\//\\}"
answer_file_dialog "$typed_path" "loading the list for practice"
picture 06-practice-setup
# "Tanulás indítása" in the direction selected at start, "Magyar-Angol": the Hungarian side is shown and the English
# box, which has the focus, takes the answer.
click_control Tanul_Com4
picture 07-practice-question
# A wrong answer; "Megmutatja" once, which hands the focus back to the answer box; then the three questions.
type_text "apple"
xdotool key Return
sleep 0.2
click_control Megmutat_Comm
for _ in 1 2 3; do
    type_text "fruit"
    xdotool key Return
    sleep 0.2
done
picture 08-run-finished

# Lines of the log, each closed by CR LF.
log_lines() { grep -o ' 0d 0a' <<<"$(hex_bytes "$log")" | wc -l; }
log_has_lines() { [ "$(log_lines)" -eq "$1" ]; }
log_has_lines 1 || fail "the log grew before a run was left: $(od -c "$log")"
# The finished run leaves the focus on "Vissza", and Enter presses it: that records the run in the learner's log.
xdotool key Return
wait_for log_has_lines 2 || fail "leaving the finished run recorded nothing: $(od -c "$log")"

# 5. Back on the practice setup screen: "Vegyes felhozás", "Tanulás indítása", and "Vissza" before any answer.
sleep 0.3
click_control Option3
click_control Tanul_Com4
click_control Tanul_Vissza_Comm
wait_for log_has_lines 3 || fail "leaving the mixed run recorded nothing: $(od -c "$log")"

# 6. "Mégse" leads to the main menu, "Név Váltás" to the user-selection screen; the learner is picked again and
# looks at the results, then goes back.
click_control Vissza_no_mentComm
click_control Név_vált_Com
pick_the_learner
click_control Eredméynek_Com
picture 09-results
click_control Eredm_Kilép_Com

# "EXIT" ends the program at once, with status 0.
click_control Command2
wait_for exited || fail "EXIT did not end the program"
status=0
wait "$pid" || status=$?
pid=""
[ "$status" -eq 0 ] || fail "EXIT ended the program with status $status"

# The files as the journey left them. The registry holds the one name; the list is as saved in step 3.
[ "$(hex_bytes "$registry")" = " 4b 69 73 20 c1 67 6e 65 73 0d 0a" ] || fail "registry bytes at the end: $(od -An -tx1 "$registry")"
[ "$(hex_bytes "$list")" = "$expected_list" ] || fail "word list bytes at the end: $(od -c "$list")"
[ "$(LC_ALL=C ls "$home")" = "$(printf '%s\n' "$learner.log" "gyümölcsök.szo")" ] || fail "the learner's directory holds: $(ls -la "$home")"

# The log: its header, then one record for each run left, in Windows-1250, every line closed by CR LF. A record
# starts with the date and time, whose form follows the locale; from ",  Név: " on it is fixed.
log_hex="$(hex_bytes "$log")"
lines=()
rest="$log_hex"
while [ -n "$rest" ]; do
    [ "${rest#*" 0d 0a"}" != "$rest" ] || fail "the log ends without CR LF: $(od -c "$log")"
    lines+=("${rest%%" 0d 0a"*} 0d 0a")
    rest="${rest#*" 0d 0a"}"
done
[ "${#lines[@]}" -eq 3 ] || fail "the log has ${#lines[@]} lines, not 3: $(od -c "$log")"
for line in "${lines[@]}"; do
    body="${line% 0d 0a}"
    [[ "$body" != *" 0d"* && "$body" != *" 0a"* ]] || fail "a stray CR or LF inside a log line: $(od -c "$log")"
done
[ "${lines[0]}" = "$(log_header "$learner")" ] || fail "log header: $(od -c "$log")"
name_field="$(cp1250 ",  Név: ")"
check_record() { # line, the rest of the record from ",  Név: " on
    local line="$1" expected when
    expected="$(cp1250 "$2")"
    [ "${line#*"$name_field"}" != "$line" ] || fail "a record without its name field: $(od -c "$log")"
    when="${line%%"$name_field"*}"
    # Date ", " time: printable bytes only, with digits and the comma and space between them.
    [[ "$when" =~ ^(\ ([2-7][0-9a-f]|[89a-f][0-9a-f]))+$ && "$when" == *" 2c 20 "* && "$when" =~ \ 3[0-9] ]] ||
        fail "the date and time of a record: $(od -c "$log")"
    [ "$name_field${line#*"$name_field"}" = "$expected" ] || fail "log record: $(od -c "$log")"
}
check_record "${lines[1]}" ",  Név: $learner,  A szójegyzék neve: gyümölcsök,  A felhozatal:  Magyar - Angol,  Megmutattam: 1,  Hibák Száma: 1,  A szavak száma: 3$crlf"
check_record "${lines[2]}" ",  Név: $learner,  Csalás volt! (vissza),  A szójegyzék neve: gyümölcsök,  A felhozatal:      Vegyes    ,  Megmutattam: 0,  Hibák Száma: 0,  A szavak száma: 3$crlf"

# Without a registry the program says so, and ends with status 1 once the message is closed.
bare="$start/bare"
mkdir "$bare"
(cd "$bare" && exec env QT_QPA_PLATFORM=xcb "$program") &
pid=$!
answer_message_and_wait_for_exit "a registry"
[ "$status" -eq 1 ] || fail "without a registry the program ended with status $status"
[ ! -e "$bare/init.usr" ] || fail "the program made a registry of its own"
echo "1 passed, 0 failed"
