#!/usr/bin/env bash
# Drives the built program on a real X display with the mouse and keyboard, as a person would:
# add a learner, pick the name, sign in, build and save a word list, change learner, add another, leave with EXIT.
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

(cd "$start" && exec env QT_QPA_PLATFORM=xcb "$program") &
pid=$!

window="$(timeout 15 xdotool search --sync --onlyvisible --limit 1 --name "^Angol - Magyar")" || fail "no window appeared"
[ "$(xdotool getwindowname "$window")" = "$caption" ] || fail "window title is '$(xdotool getwindowname "$window")'"
sleep 0.5
xdotool windowfocus --sync "$window" 2>/dev/null || true

# "Új Név Felvétele", then the name and Enter.
click_at_twips 5520 720 2055 375
xdotool type --delay 40 "Kis Anna"
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
xdotool type --delay 40 "apple"
xdotool key Return
xdotool type --delay 40 "alma"
xdotool key Return Return Return
sleep 0.3
xdotool type --delay 40 "pear"
xdotool key Return
xdotool type --delay 40 "körte"
xdotool key Return
xdotool type --delay 40 "gyümölcs"
xdotool key Return Return
sleep 0.3

# "Bevitel Mentése és Befejezése" asks for a name in the save dialog, which starts in the learner's directory
# and adds the list extension.
click_at_twips 360 2160 2055 495
dialog="$(timeout 10 xdotool search --sync --onlyvisible --limit 1 --name "^Vokalindo$")" ||
    fail "saving the list showed no file dialog"
xdotool windowfocus --sync "$dialog" 2>/dev/null || true
sleep 0.3
xdotool type --delay 40 "gyumolcs"
xdotool key Return
list="$start/Kis Anna/gyumolcs.szo"
dialog_closed() { ! xdotool search --onlyvisible --name "^Vokalindo$" >/dev/null 2>&1; }
wait_for dialog_closed || fail "the save dialog stayed open"
list_written() { [ -f "$list" ]; }
wait_for list_written || fail "no word list was saved: $(ls -la "$start/Kis Anna")"
# Each pair: number, English, Hungarian, note (a space when there is none), each closed by 0x0E, then CR LF;
# Hungarian letters in Windows-1250 (ö = f6, ü = fc).
expected_list="310e6170706c650e616c6d610e200e0d0a"
expected_list+="320e706561720e6bf67274650e6779fc6df66c63730e0d0a"
[ "$(od -An -tx1 "$list" | tr -d ' \n')" = "$expected_list" ] || fail "word list bytes: $(od -c "$list")"
[ "$(xdotool getwindowname "$window")" = "$caption" ] || fail "window title after saving is '$(xdotool getwindowname "$window")'"

# "Név Váltás", which only the main menu shows: saving the list led back there.
click_at_twips 5520 1320 2055 495

# Back on the user-selection screen: add a second learner the same way.
click_at_twips 5520 720 2055 375
xdotool type --delay 40 "Bela"
xdotool key Return
wait_for registry_has "Bela" || fail "signing in and changing learner did not lead back to the name box"
[ "$(od -An -tx1 "$start/init.usr" | tr -d ' \n')" = "4b697320416e6e610d0a42656c610d0a" ] ||
    fail "registry bytes: $(od -c "$start/init.usr")"

# "EXIT" ends the program at once.
click_at_twips 9120 0 735 375
exited() { ! kill -0 "$pid" 2>/dev/null; }
wait_for exited || fail "EXIT did not end the program"
wait "$pid" || fail "the program ended with status $?"
echo "1 passed, 0 failed"
