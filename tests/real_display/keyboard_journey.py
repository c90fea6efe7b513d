#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The whole journey of a learner, as journey.sh makes it, with the keyboard alone: X key events only, never
the pointer (checked: it stands where it stood). The learner follows the focus as a screen reader tells it.
  1. add the learner "Kis Ágnes", pick the name in the name box with the arrow key, sign in;
  2. build a list of three pairs and save it through the save dialog;
  3. load it for editing, change two cells in the grid (arrows, F2 and Enter), save it back;
  4. load it for practice, practise "Magyar-Angol" to the end with one wrong answer and one "Megmutatja", leave;
  5. choose "Vegyes felhozás" with the arrow keys, start a run and leave it at once;
  6. "Mégse", "Név Váltás", pick the learner again (Alt+Down, Enter), view the results, back; EXIT.
Afterwards the registry, the word list and the results log are checked byte for byte.

Usage (under an X server with an AT-SPI bus, see with_screen_reader_bus.sh): keyboard_journey.py path/to/vokalindo"""

import os
import re

from keyboard_learner import Learner, fail, list_bytes, log_header, main, pump, wait_for

LEARNER = "Kis Ágnes"
CRLF = "\r\n"


def file_bytes(path):
    try:
        with open(path, "rb") as opened:
            return opened.read()
    except OSError:
        return b""


def journey(program, start):
    with open(os.path.join(start, "init.usr"), "wb"):
        pass
    registry = os.path.join(start, "init.usr")
    home = os.path.join(start, LEARNER)
    log = os.path.join(home, LEARNER + ".log")
    word_list = os.path.join(home, "gyümölcsök.szo")
    learner = Learner(program, start)

    # 1. "Új Név Felvétele", the name, Enter; Down in the name box picks it; "Belépés".
    learner.press("Új Név Felvétele")
    learner.type(LEARNER)
    learner.key("Return")
    wait_for(lambda: file_bytes(registry), 10, "the registry to get the new name")
    pump(0.3)
    if file_bytes(registry) != (LEARNER + CRLF).encode("cp1250"):
        fail("registry bytes: %r" % file_bytes(registry))
    if not os.path.isfile(log):
        fail("no results log was created")
    learner.tab_to("Válaszd ki a Neved!", None)
    learner.key("Down")
    learner.press("Belépés")

    # 2. "Új Szójegyzék Készítése": the focus is in the English box; Enter (or Tab) walks to the Hungarian box,
    # to the note, to "Szópár felvétele", and a further Enter adds the pair.
    learner.press("Új Szójegyzék Készítése")
    if not learner.focus_is("Angol", "text"):
        fail("the list-building screen did not put the focus in the English box")
    for english, leave, hungarian, note in (("fruit", "Return", "alma, körte", "Ősszel érik"),
                                            ("fruit", "Tab", "szilva", ""),
                                            ("fruits", "Return", "oszibarack", "Édes, szőrös héjú")):
        learner.type(english)
        learner.key(leave)
        learner.type(hungarian)
        learner.key("Return")
        learner.type(note)
        learner.key("Return", "Return")
    learner.press("Bevitel Mentése és Befejezése")
    learner.answer_file_dialog("gyümölcsök", "saving the new list")
    wait_for(lambda: file_bytes(word_list), 10, "the word list to be saved")
    expected = list_bytes(("1", "fruit", "alma, körte", "Ősszel érik"), ("2", "fruit", "szilva", " "),
                          ("3", "fruits", "oszibarack", "Édes, szőrös héjú"))
    if file_bytes(word_list) != expected:
        fail("word list bytes after saving: %r" % file_bytes(word_list))

    # 3. "Szójegyzék szerkesztése". Tab into the grid (its first cell), Down twice to pair 3, F2 opens the editor,
    # Ctrl+A and the word replace the text, Enter writes it back and the grid has the focus again; Right to the
    # Hungarian side, Enter opens the editor there too; "Mentés és Vissza" writes that open editor back and saves.
    learner.press("Szójegyzék szerkesztése")
    learner.answer_file_dialog("gyümölcsök.szo", "loading the list for editing")
    learner.tab_to("Szójegyzék", "table")
    learner.key("Down", "Down", "F2")
    if not learner.focus_is("Angol, 3. szópár", "text"):
        fail("F2 did not open the editor over pair 3's English side")
    learner.key("ctrl+a")
    learner.type("fruit")
    learner.key("Return")
    if not learner.focus_is("Szójegyzék", "table") and not learner.focus_is("fruit", "table cell"):
        fail("after Enter the focus is not back in the grid")
    learner.key("Right", "Return")
    if not learner.focus_is("Magyar, 3. szópár", "text"):
        fail("Enter did not open the editor over pair 3's Hungarian side")
    learner.key("ctrl+a")
    learner.type("őszibarack")
    before = file_bytes(word_list)
    learner.press("Mentés és Vissza")
    wait_for(lambda: file_bytes(word_list) != before, 10, "'Mentés és Vissza' to write the list")
    pump(0.3)
    expected = list_bytes(("1", "fruit", "alma, körte", "Ősszel érik"), ("2", "fruit", "szilva", " "),
                          ("3", "fruit", "őszibarack", "Édes, szőrös héjú"))
    if file_bytes(word_list) != expected:
        fail("word list bytes after editing: %r" % file_bytes(word_list))

    # 4. "Szójegyzék betöltése" with the whole path typed; "Tanulás indítása" in "Magyar-Angol", as at start: the
    # English box has the focus. A wrong answer, "Megmutatja" (which hands the focus back), the three answers.
    learner.press("Szójegyzék betöltése")
    learner.answer_file_dialog(word_list, "loading the list for practice")
    learner.press("Tanulás indítása")
    learner.type("apple")
    learner.key("Return")
    learner.press("Megmutatja")
    if not learner.focus_is("Angol", "text"):
        fail("'Megmutatja' did not hand the focus back to the answer box")
    for _ in range(3):
        learner.type("fruit")
        learner.key("Return")
    log_lines = lambda: file_bytes(log).count(b"\r\n")
    if log_lines() != 1:
        fail("the log grew before a run was left: %r" % file_bytes(log))
    # The finished run leaves the focus on "Vissza", and Enter presses it: that records the run.
    if not learner.focus_is("Vissza", "push button"):
        fail("the finished run did not leave the focus on 'Vissza'")
    learner.key("Return")
    wait_for(lambda: log_lines() == 2, 10, "leaving the finished run to record it")

    # 5. Tab reaches the directions as one stop, at the first; Down, Down selects "Vegyes felhozás". Start, and
    # leave at once.
    learner.tab_to("Angol-Magyar", "radio button")
    learner.key("Down", "Down")
    if not learner.focus_is("Vegyes felhozás", "radio button"):
        fail("Down did not move to 'Vegyes felhozás'")
    learner.press("Tanulás indítása")
    learner.press("Vissza")
    wait_for(lambda: log_lines() == 3, 10, "leaving the mixed run to record it")

    # 6. "Mégse", "Név Váltás"; the one name is already the current entry, so the list is opened and Enter picks
    # it; the results, back; EXIT.
    learner.press("Mégse")
    learner.press("Név Váltás")
    learner.tab_to("Válaszd ki a Neved!", None)
    learner.key("alt+Down")
    learner.key("Return")
    learner.press("Eredmények Megtekintése")
    learner.press("Vissza")
    learner.press("EXIT")
    if learner.finish() != 0:
        fail("EXIT ended the program with an error")
    learner.check_pointer_untouched()

    # The files as the journey left them.
    if file_bytes(registry) != (LEARNER + CRLF).encode("cp1250"):
        fail("registry bytes at the end: %r" % file_bytes(registry))
    if file_bytes(word_list) != expected:
        fail("word list bytes at the end: %r" % file_bytes(word_list))
    if sorted(os.listdir(home)) != sorted([LEARNER + ".log", "gyümölcsök.szo"]):
        fail("the learner's directory holds %r" % os.listdir(home))
    lines = file_bytes(log).split(b"\r\n")
    if lines[-1] != b"" or len(lines) != 4:
        fail("the log is not three lines each closed by CR LF: %r" % file_bytes(log))
    lines = lines[:3]
    if any(b"\r" in line or b"\n" in line for line in lines):
        fail("a stray CR or LF inside a log line: %r" % file_bytes(log))
    if lines[0] + b"\r\n" != log_header(LEARNER):
        fail("log header: %r" % lines[0])
    name_field = ",  Név: ".encode("cp1250")
    records = [
        ",  Név: %s,  A szójegyzék neve: gyümölcsök,  A felhozatal:  Magyar - Angol,  Megmutattam: 1,  "
        "Hibák Száma: 1,  A szavak száma: 3" % LEARNER,
        ",  Név: %s,  Csalás volt! (vissza),  A szójegyzék neve: gyümölcsök,  A felhozatal:      Vegyes    ,  "
        "Megmutattam: 0,  Hibák Száma: 0,  A szavak száma: 3" % LEARNER,
    ]
    for line, expected_record in zip(lines[1:], records):
        if name_field not in line:
            fail("a record without its name field: %r" % line)
        when, rest = line.split(name_field, 1)
        # Date ", " time in the locale's form: printable bytes with digits, and the comma and space between them.
        if not re.fullmatch(rb"[\x20-\x7e\x80-\xff]+", when) or b", " not in when or not re.search(rb"[0-9]", when):
            fail("the date and time of a record: %r" % line)
        if name_field + rest != expected_record.encode("cp1250"):
            fail("log record: %r" % line)
    print("ok: the registry, the word list and the log hold the journey's bytes")


if __name__ == "__main__":
    main(journey)
