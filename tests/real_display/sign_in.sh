#!/usr/bin/env bash
# Drives the built program on a real X display with the mouse and keyboard, as a person would:
# add a learner, pick the name, sign in, build and save a word list, load it and practise it to the end, change
# learner, add another, leave with EXIT.
# Usage (under an X server, e.g. xvfb-run): sign_in.sh path/to/vokalindo
set -euo pipefail
program="$1"
caption="Angol - Magyar - Angol   Vokalindo"

start="$(mktemp -d)"
trap 'kill "$pid" 2>/dev/null || true; rm -rf "$start"' EXIT
: >"$start/init.usr"

fail() { echo "FAIL: $*" >&2; exit 1; }

# Waits up to 10 s for a condition given as a command.
wait_for() {
    for _ in $(seq 100); do
        if "$@"; then return 0; fi
        sleep 0.1
    done
    return 1
}

# Clicks the middle of a control given in twips (left, top, width, height), as the window lays it out.
click_at_twips() {
    xdotool mousemove --window "$window" $((($1 + $3 / 2) / 15)) $((($2 + $4 / 2) / 15)) click 1
    sleep 0.3
}

# Types text as keystrokes. xdotool reads the text in the locale's encoding, and this file is UTF-8, whatever
# locale the program is run in.
type_text() {
    LC_ALL=C.UTF-8 xdotool type --delay 40 "$1" || fail "xdotool could not type '$1'"
}

(cd "$start" && exec env QT_QPA_PLATFORM=xcb "$program") &
pid=$!

window="$(timeout 15 xdotool search --sync --onlyvisible --limit 1 --name "^Angol - Magyar")" || fail "no window appeared"
[ "$(xdotool getwindowname "$window")" = "$caption" ] || fail "window title is '$(xdotool getwindowname "$window")'"
sleep 0.5
xdotool windowfocus --sync "$window" 2>/dev/null || true

# "Új Név Felvétele", then the name and Enter.
click_at_twips 5520 720 2055 375
type_text "Kis Anna"
xdotool key Return
registry_has() { grep -q "$1" "$start/init.usr"; }
wait_for registry_has "Kis Anna" || fail "the registry did not get the new name: $(od -c "$start/init.usr")"
[ "$(od -An -tx1 "$start/init.usr" | tr -d ' \n')" = "4b697320416e6e610d0a" ] || fail "registry bytes: $(od -c "$start/init.usr")"
[ -f "$start/Kis Anna/Kis Anna.log" ] || fail "no results log was created"

# Pick the name from the drop-down list: open it with its arrow, choose with the keyboard.
combo_arrow_x=$(((3240 + 2175) / 15 - 8))
xdotool mousemove --window "$window" "$combo_arrow_x" $(((720 + 315 / 2) / 15)) click 1
sleep 0.5
xdotool key Down Return
sleep 0.3

# "Belépés" leads to the main menu.
click_at_twips 3840 1080 975 495

# "Új Szójegyzék Készítése": two pairs typed with the keyboard alone. Enter walks from the English box to the
# Hungarian one, to the note, to "Szópár felvétele", and a further Enter adds the pair.
click_at_twips 7680 840 2175 615
# Both pairs share their Hungarian side, so that practice from English knows every answer whatever the order.
type_text "apple"
xdotool key Return
type_text "gyümölcs"
xdotool key Return Return Return
sleep 0.3
type_text "pear"
xdotool key Return
type_text "gyümölcs"
xdotool key Return
type_text "körte"
xdotool key Return Return
sleep 0.3

# "Bevitel Mentése és Befejezése" asks for a name in the save dialog, which starts in the learner's directory
# and adds the list extension.
click_at_twips 360 2160 2055 495
dialog="$(timeout 10 xdotool search --sync --onlyvisible --limit 1 --name "^Vokalindo$")" ||
    fail "saving the list showed no file dialog"
xdotool windowfocus --sync "$dialog" 2>/dev/null || true
sleep 0.3
type_text "gyumolcs"
xdotool key Return
list="$start/Kis Anna/gyumolcs.szo"
dialog_closed() { ! xdotool search --onlyvisible --name "^Vokalindo$" >/dev/null 2>&1; }
wait_for dialog_closed || fail "the save dialog stayed open"
list_written() { [ -f "$list" ]; }
wait_for list_written || fail "no word list was saved: $(ls -la "$start/Kis Anna")"
# Each pair: number, English, Hungarian, note (a space when there is none), each closed by 0x0E, then CR LF;
# Hungarian letters in Windows-1250 (ö = f6, ü = fc).
expected_list="310e6170706c650e6779fc6df66c63730e200e0d0a"
expected_list+="320e706561720e6779fc6df66c63730e6bf67274650e0d0a"
[ "$(od -An -v -tx1 "$list" | tr -d ' \n')" = "$expected_list" ] || fail "word list bytes: $(od -c "$list")"
[ "$(xdotool getwindowname "$window")" = "$caption" ] || fail "window title after saving is '$(xdotool getwindowname "$window")'"

# Bytes of a file as hex pairs, each after a space: " 4b 69 ...".
hex_bytes() { od -An -v -tx1 "$1" | tr -s ' \n' ' ' | sed 's/ $//'; }

# "Szójegyzék betöltése", which only the main menu shows: saving the list led back there. The open dialog starts
# in the learner's directory too.
click_at_twips 7680 2160 2175 495
dialog="$(timeout 10 xdotool search --sync --onlyvisible --limit 1 --name "^Vokalindo$")" ||
    fail "loading a list showed no file dialog"
xdotool windowfocus --sync "$dialog" 2>/dev/null || true
sleep 0.3
type_text "gyumolcs.szo"
xdotool key Return
wait_for dialog_closed || fail "the open dialog stayed open"
sleep 0.3

# "Angol-Magyar", then "Tanulás indítása": the English side is shown and the Hungarian box, which has the focus,
# takes the answer.
click_at_twips 240 2040 1455 195
click_at_twips 2040 2160 2175 495
# A wrong answer; "Megmutatja" once, which hands the focus back to the answer box; then both questions.
type_text "x"
xdotool key Return
sleep 0.3
click_at_twips 3960 6480 1455 375
for _ in 1 2; do
    type_text "gyümölcs"
    xdotool key Return
    sleep 0.3
done

# The finished run leaves the focus on "Vissza", and Enter presses it: that records the run in the learner's log.
log="$start/Kis Anna/Kis Anna.log"
log_before="$(hex_bytes "$log")"
xdotool key Return
log_grew() { [ "$(hex_bytes "$log")" != "$log_before" ]; }
wait_for log_grew || fail "leaving the finished run recorded nothing: $(od -c "$log")"
sleep 0.3
log_hex="$(hex_bytes "$log")"
# The header and one record, each closed by CR LF, in Windows-1250 (é = e9, ó = f3, á = e1).
two_crlf_lines() {
    [ "$(grep -o ' 0a' <<<"$log_hex" | wc -l)" = 2 ] && [ "$(grep -o ' 0d 0a' <<<"$log_hex" | wc -l)" = 2 ] &&
        [ "${log_hex% 0d 0a}" != "$log_hex" ]
}
two_crlf_lines || fail "the log is not two CR LF lines: $(od -c "$log")"
header=" 4b 69 73 20 41 6e 6e 61 20 45 72 65 64 6d e9 6e 79 65 69 3a 0d 0a" # "Kis Anna Eredményei:"
[ "${log_hex#"$header"}" != "$log_hex" ] || fail "log header: $(od -c "$log")"
# The record starts with the date and time, whose form follows the locale; from ",  Név: " on it is fixed.
name_field=" 2c 20 20 4e e9 76 3a 20" # ",  Név: "
record="${log_hex#"$header"}"
[ "${record#*"$name_field"}" != "$record" ] || fail "the record has no name: $(od -c "$log")"
record="$name_field${record#*"$name_field"}"
expected_record="$name_field 4b 69 73 20 41 6e 6e 61" # "Kis Anna"
expected_record+=" 2c 20 20 41 20 73 7a f3 6a 65 67 79 7a e9 6b 20 6e 65 76 65 3a 20 67 79 75 6d 6f 6c 63 73" # ",  A szójegyzék neve: gyumolcs"
expected_record+=" 2c 20 20 41 20 66 65 6c 68 6f 7a 61 74 61 6c 3a 20 20 41 6e 67 6f 6c 20 2d 20 4d 61 67 79 61 72" # ",  A felhozatal:  Angol - Magyar"
expected_record+=" 2c 20 20 4d 65 67 6d 75 74 61 74 74 61 6d 3a 20 31" # ",  Megmutattam: 1"
expected_record+=" 2c 20 20 48 69 62 e1 6b 20 53 7a e1 6d 61 3a 20 31" # ",  Hibák Száma: 1"
expected_record+=" 2c 20 20 41 20 73 7a 61 76 61 6b 20 73 7a e1 6d 61 3a 20 32 0d 0a" # ",  A szavak száma: 2"
[ "$record" = "$expected_record" ] || fail "log record: $(od -c "$log")"

# Back on the practice setup screen; "Mégse" leads to the main menu.
click_at_twips 6240 1440 2175 495

# "Név Váltás", which only the main menu shows.
click_at_twips 5520 1320 2055 495

# Back on the user-selection screen: add a second learner the same way.
click_at_twips 5520 720 2055 375
type_text "Bela"
xdotool key Return
wait_for registry_has "Bela" || fail "signing in and changing learner did not lead back to the name box"
[ "$(od -An -tx1 "$start/init.usr" | tr -d ' \n')" = "4b697320416e6e610d0a42656c610d0a" ] ||
    fail "registry bytes: $(od -c "$start/init.usr")"

# "EXIT" ends the program at once.
click_at_twips 9120 0 735 375
exited() { ! kill -0 "$pid" 2>/dev/null; }
wait_for exited || fail "EXIT did not end the program"
wait "$pid" || fail "the program ended with status $?"

# Without a registry the program says so, and ends with status 1 once the message is closed.
bare="$start/bare"
mkdir "$bare"
(cd "$bare" && exec env QT_QPA_PLATFORM=xcb "$program") &
pid=$!
message="$(timeout 15 xdotool search --sync --onlyvisible --limit 1 --name "^Vokalindo$")" ||
    fail "no message about the missing registry"
sleep 0.5
xdotool windowfocus --sync "$message" 2>/dev/null || true
xdotool key Return
wait_for exited || fail "the program went on without a registry"
status=0
wait "$pid" || status=$?
[ "$status" -eq 1 ] || fail "without a registry the program ended with status $status"
[ ! -e "$bare/init.usr" ] || fail "the program made a registry of its own"
echo "1 passed, 0 failed"
