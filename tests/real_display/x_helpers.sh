# SPDX-License-Identifier: GPL-3.0-or-later
# Driving the real program on an X display as a person does: waiting, clicking a control at its place,
# double-clicking a grid cell, typing Hungarian text key by key, picking the learner, answering a file dialog,
# taking pictures; and the bytes of files and texts as hex pairs. Sourced by the real-display scripts, which
# define fail(), set $window to the program's window once it is shown, and $shots to a folder for pictures
# (empty: none).

# Waits up to 10 s for a condition given as a command.
wait_for() {
    for _ in $(seq 100); do
        if "$@"; then return 0; fi
        sleep 0.1
    done
    return 1
}

# Each control's place in twips (left top width height), by object name: the rows of the controls table that the
# widget tests check the window against.
declare -A twips=()
while IFS=$'\t' read -r control place; do twips[$control]="$place"; done < <(
    sed -n 's/^ *{"\([^"]*\)", "[^"]*", \([0-9]*\), \([0-9]*\), \([0-9]*\), \([0-9]*\)},$/\1\t\2 \3 \4 \5/p' \
        "$(dirname "${BASH_SOURCE[0]}")/../support/screen_tables.h")
[ -n "${twips[MSFlexGrid1]:-}" ] || fail "no controls table"
read -r grid_left grid_top _ <<<"${twips[MSFlexGrid1]}"

# Clicks the middle of a control, as the window lays it out.
click_control() {
    [ -n "${twips[$1]:-}" ] || fail "no control named $1"
    local left top width height
    read -r left top width height <<<"${twips[$1]}"
    xdotool mousemove --window "$window" $(((left + width / 2) / 15)) $(((top + height / 2) / 15)) click 1
    sleep 0.3
}

# The middle of a data cell of the grid, in pixels of the window. The grid stands inside a 1 px frame; its fixed
# column is 500 twips (33 px) wide and its header row 16 px high; the data columns are 2500, 2500 and 4000 twips
# (166, 166, 266 px), every row 16 px.
cell_x() {
    local x=$((grid_left / 15 + 1 + 33)) column
    for ((column = 1; column < $1; column++)); do x=$((x + 166)); done
    [ "$1" -eq 3 ] && echo $((x + 133)) || echo $((x + 83))
}
cell_y() { echo $((grid_top / 15 + 1 + 16 + ($1 - 1) * 16 + 8)); }

# A double-click on a data cell (row, column): two presses in quick succession, as a hand makes them.
double_click_cell() {
    xdotool mousemove --window "$window" "$(cell_x "$2")" "$(cell_y "$1")" click --repeat 2 --delay 80 1
    sleep 0.3
}

# Types text as keystrokes. The accented letters have no key on the display's keyboard: xdotool lends each one a
# spare key for the moment of the stroke, and the program must have read that key's new meaning before it is taken
# back, so these go one at a time with time to spare; a capital is Shift with the small letter's key, as on a
# Hungarian keyboard. xdotool reads text in the locale's encoding, and this file is UTF-8, whatever locale the
# program is run in.
declare -A accent_keys=(
    [á]=aacute [é]=eacute [í]=iacute [ó]=oacute [ö]=odiaeresis [ő]=odoubleacute [ú]=uacute [ü]=udiaeresis
    [ű]=udoubleacute [Á]=shift+aacute [É]=shift+eacute [Í]=shift+iacute [Ó]=shift+oacute [Ö]=shift+odiaeresis
    [Ő]=shift+odoubleacute [Ú]=shift+uacute [Ü]=shift+udiaeresis [Ű]=shift+udoubleacute
)
type_text() {
    local LC_ALL=C text="$1" plain="" letter found
    while [ -n "$text" ]; do
        found=""
        for letter in "${!accent_keys[@]}"; do
            [[ "$text" == "$letter"* ]] && found="$letter" && break
        done
        if [ -z "$found" ]; then
            [[ "${text:0:1}" == [\ -~] ]] || fail "no key to type '${text:0:1}' of '$1'"
            plain+="${text:0:1}"
            text="${text:1}"
            continue
        fi
        [ -z "$plain" ] || LC_ALL=C.UTF-8 xdotool type --delay 30 "$plain" || fail "xdotool could not type '$plain'"
        plain=""
        xdotool key --delay 200 "${accent_keys[$found]}" || fail "xdotool could not type '$found'"
        text="${text#"$found"}"
    done
    [ -z "$plain" ] || LC_ALL=C.UTF-8 xdotool type --delay 30 "$plain" || fail "xdotool could not type '$plain'"
}

# Picks the one learner in the name box: the drop-down arrow opens the list, the keyboard chooses.
pick_the_learner() {
    local left top width height
    read -r left top width height <<<"${twips[Combo1]}"
    xdotool mousemove --window "$window" $(((left + width) / 15 - 8)) $(((top + height / 2) / 15)) click 1
    sleep 0.5
    xdotool key Down Return
    sleep 0.3
}

# A file dialog or message box: a window of its own, titled with the program's name.
dialog_open() { xdotool search --onlyvisible --name "^Vokalindo$" >/dev/null 2>&1; }
dialog_closed() { ! dialog_open; }
# Waits for the file dialog, types a name or a path into it and presses Enter.
answer_file_dialog() {
    local dialog
    dialog="$(timeout 10 xdotool search --sync --onlyvisible --limit 1 --name "^Vokalindo$")" ||
        fail "$2 showed no file dialog"
    xdotool windowfocus --sync "$dialog" 2>/dev/null || true
    sleep 0.3
    type_text "$1"
    xdotool key Return
    wait_for dialog_closed || fail "the file dialog of $2 stayed open"
    sleep 0.3
}

# A picture of the window, when pictures were asked for.
picture() {
    [ -n "$shots" ] || return 0
    sleep 0.5
    import -window "$window" "$shots/$1.png" || fail "no picture $1"
}

# Bytes of a file as hex pairs, each after a space: " 4b 69 ...".
# Whether the program started in the background ($pid) has ended.
exited() { ! kill -0 "$pid" 2>/dev/null; }

# Answers the program's message box with Enter and waits for the program ($pid) to end; $status is
# then its exit status. $1 says what the program lacks, for the failure.
answer_message_and_wait_for_exit() {
    local message
    message="$(timeout 15 xdotool search --sync --onlyvisible --limit 1 --name "^Vokalindo$")" ||
        fail "no message about $1"
    sleep 0.5
    xdotool windowfocus --sync "$message" 2>/dev/null || true
    xdotool key Return
    wait_for exited || fail "the program went on without $1"
    status=0
    wait "$pid" || status=$?
    pid=""
}

hex_bytes() { od -An -v -tx1 "$1" | tr -s ' \n' ' ' | sed 's/ $//'; }
# The bytes of a text in Windows-1250, written the same way; and of a learner's results log's first line.
cp1250() { printf '%s' "$1" | iconv -f UTF-8 -t WINDOWS-1250 | od -An -v -tx1 | tr -s ' \n' ' ' | sed 's/ $//'; }
crlf=$'\r\n'
log_header() { cp1250 "$1 Eredményei:$crlf"; }
