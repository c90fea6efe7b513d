#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Brings a window under measurement to its waiting state with real X events, as a person would.
# window_probe runs it with PROBE_WINDOW (the window's X id) set.
#   drive.sh question START   the program: pick "Anna", "Belépés", "Szójegyzék betöltése", type the
#                             list's name in the file dialog, "Tanulás indítása"; the first question
#                             then waits with the focus in the answer box
#   drive.sh leave START      the program: "Vissza" on the practice screen, and check that the run was
#                             recorded, which proves that a question was waiting
#   drive.sh floor            the floor window: focus it and click into its line edit
# START is the program's start directory, with init.usr, Anna/Anna.log and Anna/lista.szo.
set -euo pipefail
window="${PROBE_WINDOW:?run by window_probe}"
mode="$1"
start="${2:-}"

fail() { echo "drive.sh: $*" >&2; exit 1; }
shots=""
source "$(dirname "${BASH_SOURCE[0]}")/../tests/real_display/x_helpers.sh"

# Without a window manager nobody else hands the window the keyboard; a person's desktop would.
focus_window() { xdotool windowfocus --sync "$window" 2>/dev/null || true; }

# The pointer rests outside the window while it waits.
park_pointer() { xdotool mousemove 1020 760; }

case "$mode" in
question)
    focus_window
    pick_the_learner
    click_at_twips 3840 1080 975 495 # "Belépés"
    click_at_twips 7680 2160 2175 495 # "Szójegyzék betöltése"
    answer_file_dialog "lista.szo" "loading a list"
    focus_window
    click_at_twips 2040 2160 2175 495 # "Tanulás indítása"
    park_pointer
    ;;
leave)
    log="$start/Anna/Anna.log"
    lines_before="$(grep -c $'\r$' "$log" || true)"
    click_at_twips 960 7080 1455 495 # "Vissza" on the practice screen
    recorded() { [ "$(grep -c $'\r$' "$log" || true)" -gt "$lines_before" ]; }
    wait_for recorded || fail "leaving the practice screen recorded no run: no question was waiting"
    # A run left while waiting, over the 20 pairs of the list.
    last="$(tail -n 1 "$log")"
    LC_ALL=C grep -aq $'Csal\xe1s volt! (vissza)' <<<"$last" && LC_ALL=C grep -aq $'A szavak sz\xe1ma: 20\r$' <<<"$last" ||
        fail "the record is not that of a 20-pair run left while waiting: $last"
    ;;
floor)
    focus_window
    xdotool mousemove --window "$window" 300 142 click 1
    park_pointer
    ;;
*)
    fail "unknown mode $mode"
    ;;
esac
