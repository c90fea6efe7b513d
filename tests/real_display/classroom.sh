#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Two accounts of one class on one computer, each starting the installed "vokalindo" in turn, driven by real X
# events as a learner drives it. The shared folder is set for the computer in /etc/vokalindo.conf.
#   1. The first account adds the learner, builds and saves a word list of two pairs, practises it to the end
#      and leaves: the run is recorded.
#   2. The second account picks that learner, loads the same list, practises it and leaves: a second record.
# Afterwards the learner's log holds its header and both records, byte for byte. Last, with the folder gone from
# the configuration's place, the learner gets a message box, nothing is made, and the status is 1.
#
# Usage, as root under an X server that lets other accounts in (xvfb-run -s "-ac ..."):
#   classroom.sh SHARED-FOLDER FIRST-ACCOUNT SECOND-ACCOUNT
# The accounts exist and belong to the folder's group; the configuration points at the folder.
set -euo pipefail
shared="$1"
accounts=("$2" "$3")
caption="Angol - Magyar - Angol   Vokalindo"
shots=""
pid=""
window=""

fail() { echo "FAIL: $*" >&2; exit 1; }
trap '[ -z "$pid" ] || kill "$pid" 2>/dev/null || true' EXIT
source "$(dirname "${BASH_SOURCE[0]}")/x_helpers.sh"

# Starts the launcher as an account, with the environment a desktop session gives it, and waits for the window.
start_as() {
    local account="$1" home
    home="$(getent passwd "$account" | cut -d: -f6)"
    runuser -u "$account" -- env -i HOME="$home" USER="$account" LOGNAME="$account" PATH=/usr/bin:/bin \
        DISPLAY="$DISPLAY" LANG=C.UTF-8 QT_QPA_PLATFORM=xcb vokalindo >"$log_dir/$account.out" 2>&1 &
    pid=$!
}
wait_for_window() {
    window="$(timeout 15 xdotool search --sync --onlyvisible --limit 1 --name "^Angol - Magyar")" ||
        fail "$1: no window appeared: $(cat "$log_dir/$1.out")"
    [ "$(xdotool getwindowname "$window")" = "$caption" ] || fail "$1: window title '$(xdotool getwindowname "$window")'"
    sleep 0.5
    xdotool windowfocus --sync "$window" 2>/dev/null || true
}

# "EXIT" ends the program with status 0.
exit_program() {
    click_control Command2
    wait_for exited || fail "$1: EXIT did not end the program"
    local status=0
    wait "$pid" || status=$?
    pid=""
    [ "$status" -eq 0 ] || fail "$1: the program ended with status $status: $(cat "$log_dir/$1.out")"
}

# "Szójegyzék betöltése", the list's name typed into the open dialog (which starts in the learner's directory),
# "Tanulás indítása" in the direction selected at start, "Magyar-Angol": both English sides are "fruit", so every
# question has the same answer whatever the order. The finished run leaves the focus on "Vissza", and Enter
# records the run.
practise_to_the_end() {
    click_control Gyak_be_Com2
    answer_file_dialog "szavak.szo" "$1: loading the list for practice"
    click_control Tanul_Com4
    for _ in 1 2; do
        type_text "fruit"
        xdotool key Return
        sleep 0.2
    done
    xdotool key Return
}

log_dir="$(mktemp -d)"
learner="Tóth Réka"
registry="$shared/init.usr"
home="$shared/$learner"
list="$home/szavak.szo"
log="$home/$learner.log"
log_lines() { grep -o ' 0d 0a' <<<"$(hex_bytes "$log")" | wc -l; }
log_has_lines() { [ "$(log_lines)" -eq "$1" ]; }

# 1. The first account: "Új Név Felvétele", the name, Enter; pick it, "Belépés".
first="${accounts[0]}"
start_as "$first"
wait_for_window "$first"
click_control Command4
type_text "$learner"
xdotool key Return
registry_written() { [ -s "$registry" ]; }
wait_for registry_written || fail "$first: the registry did not get the new name"
[ "$(hex_bytes "$registry")" = "$(cp1250 "$learner$crlf")" ] || fail "registry bytes: $(od -An -tx1 "$registry")"
pick_the_learner
click_control Command5
# "Új Szójegyzék Készítése": two pairs, each English side, Enter, the Hungarian side, Enter, no note, Enter twice.
click_control Új_Com1
for hungarian in "alma" "körte"; do
    type_text "fruit"
    xdotool key Return
    type_text "$hungarian"
    xdotool key Return Return Return
    sleep 0.2
done
# "Bevitel Mentése és Befejezése": the save dialog starts in the learner's directory.
click_control Command1
answer_file_dialog "szavak" "$first: saving the list"
list_written() { [ -s "$list" ]; }
wait_for list_written || fail "$first: no word list was saved: $(ls -la "$home")"
practise_to_the_end "$first"
wait_for log_has_lines 2 || fail "$first: leaving the run recorded nothing: $(od -c "$log")"
exit_program "$first"

# 2. The second account: the learner is in the name list; pick, "Belépés", the same list, a run of its own.
second="${accounts[1]}"
start_as "$second"
wait_for_window "$second"
pick_the_learner
click_control Command5
practise_to_the_end "$second"
wait_for log_has_lines 3 || fail "$second: leaving the run recorded nothing in the first account's log: $(od -c "$log")"
exit_program "$second"

# The log: the header, then one record of each account's run, every line closed by CR LF. A record starts with the
# date and time, whose form follows the locale; from ",  Név: " on it is fixed.
record_tail="$(cp1250 ",  Név: $learner,  A szójegyzék neve: szavak,  A felhozatal:  Magyar - Angol,  Megmutattam: 0,  Hibák Száma: 0,  A szavak száma: 2$crlf")"
log_hex="$(hex_bytes "$log")"
header="$(log_header "$learner")"
[ "${log_hex#"$header"}" != "$log_hex" ] || fail "log header: $(od -c "$log")"
records="${log_hex#"$header"}"
[ "$(grep -o -- "$record_tail" <<<"$records" | wc -l)" -eq 2 ] || fail "the log lacks the two records: $(od -c "$log")"
[ "$(hex_bytes "$registry")" = "$(cp1250 "$learner$crlf")" ] || fail "registry bytes at the end: $(od -An -tx1 "$registry")"

# 3. The configured folder is missing: the learner is told in a message box, nothing is made, status 1.
missing="$shared-elkoltozott"
sed -i "s|^directory=.*|directory=$missing|" /etc/vokalindo.conf
start_as "$first"
answer_message_and_wait_for_exit "its folder"
[ "$status" -eq 1 ] || fail "without its folder the launcher ended with status $status"
grep -qF "$missing" "$log_dir/$first.out" || fail "the launcher did not name the folder: $(cat "$log_dir/$first.out")"
[ ! -e "$missing" ] || fail "the missing folder was made"
rm -rf "$log_dir"
echo "classroom: 2 accounts, 2 records in one log; missing folder refused"
