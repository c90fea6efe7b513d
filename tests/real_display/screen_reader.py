#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""What a screen reader gets from the program: on each screen of a learner's journey, driven by the keyboard
alone, the AT-SPI tree lists every visible control with its name and role; during practice the question
comes with the focus, and each verdict and answer shown arrives as a notification (and as the text change of
"Üzenetek:") while the focus stays in the answer box; the about message is a dialog of its own.

Usage (under an X server with an AT-SPI bus, see with_screen_reader_bus.sh): screen_reader.py path/to/vokalindo"""

import os

from keyboard_learner import Learner, fail, list_bytes, log_header, main, role, text_of, wait_for

PAIRS = [("apple", "alma", "gyümölcs"), ("plum", "szilva", " ")]
VERDICT_WRONG = "A beírt szó nem felel meg! Kérlek ismételd meg!"
VERDICT_RIGHT = "A beírt szó megfelel!"
CLOSING = "Az öszes szót sikerült megoldani! Kattints a Vissza gombra!"


def prepare(start):
    with open(os.path.join(start, "init.usr"), "wb") as registry:
        registry.write(b"Anna\r\n")
    os.mkdir(os.path.join(start, "Anna"))
    with open(os.path.join(start, "Anna", "Anna.log"), "wb") as log:
        log.write(log_header("Anna"))
    with open(os.path.join(start, "Anna", "fruit.szo"), "wb") as words:
        words.write(list_bytes(*((str(number),) + pair for number, pair in enumerate(PAIRS, 1))))
    return os.path.join(start, "Anna", "fruit.szo")


def journey(program, start):
    word_list = prepare(start)
    learner = Learner(program, start)
    common = [("push button", "EXIT"), ("push button", "Névjegy")]
    signed_in = [("label", "Neved:"), ("label", "Anna")]
    list_screen = common + signed_in + [
        ("table", "Szójegyzék"), ("panel", "Beviteli sorrend"), ("label", "Beviteli sorrend"),
        ("radio button", "Angol - Magyar"), ("radio button", "Magyar - Angol"), ("label", "Angol"), ("text", "Angol"),
        ("label", "Magyar"), ("text", "Magyar"), ("label", "Megjegyzés"), ("text", "Megjegyzés"),
        ("push button", "Szópár felvétele"), ("push button", "Utolsó sor törlése"), ("push button", "Mégse")]
    list_name = [("label", "A szójegyzék neve:"), ("label", "fruit")]

    learner.check_screen("user-selection screen",
                         common + [("combo box", "Válaszd ki a Neved!"), ("push button", "Új Név Felvétele")])
    learner.press("Új Név Felvétele")
    learner.check_screen("new-name entry", common + [("combo box", "Válaszd ki a Neved!"), ("text", "Új név"),
                                                     ("push button", "Vissza")])
    if not learner.focus_is("Új név", "text"):
        fail("the new-name box does not have the focus")
    learner.press("Vissza")
    # The name box is read by the text it shows; Down picks the first name, as a pick with the mouse does.
    learner.tab_to("Válaszd ki a Neved!", None)
    learner.key("Down")
    name_picked = common + [("combo box", "Anna"), ("push button", "Belépés"), ("push button", "Vissza"),
                            ("push button", "Eredmények Megtekintése")]
    learner.check_screen("name-picked screen", name_picked)
    learner.press("Eredmények Megtekintése")
    learner.check_screen("results screen", common + [("list", "Eredmények"), ("push button", "Vissza")])
    learner.press("Vissza")
    learner.check_screen("name-picked screen, back from the results", name_picked)
    learner.press("Belépés")
    learner.check_screen("main menu", common + signed_in + [
        ("push button", "Új Szójegyzék Készítése"), ("push button", "Szójegyzék szerkesztése"),
        ("push button", "Szójegyzék betöltése"), ("push button", "Név Váltás")])

    learner.press("Új Szójegyzék Készítése")
    learner.check_screen("list-building screen", list_screen + [("push button", "Bevitel Mentése és Befejezése")])
    learner.press("Mégse")

    learner.press("Szójegyzék szerkesztése")
    learner.answer_file_dialog(word_list, "loading the list for editing")
    editing = list_screen + list_name + [("push button", "Mentés és Vissza")]
    learner.check_screen("list-editing screen", editing)
    # In the grid F2 opens the editor over the current cell, named after that cell; Escape closes it.
    learner.tab_to("Szójegyzék", "table")
    learner.key("F2")
    learner.check_screen("list-editing screen with the cell editor", editing + [("text", "Angol, 1. szópár")])
    if not learner.focus_is("Angol, 1. szópár", "text"):
        fail("the cell editor does not have the focus")
    learner.key("Escape")
    learner.check_screen("list-editing screen, the editor closed", editing)
    learner.press("Mégse")

    learner.press("Szójegyzék betöltése")
    learner.answer_file_dialog(word_list, "loading the list for practice")
    learner.check_screen("practice setup screen", common + signed_in + list_name + [
        ("table", "Szójegyzék"), ("radio button", "Angol-Magyar"), ("radio button", "Magyar-Angol"),
        ("radio button", "Vegyes felhozás"), ("push button", "Tanulás indítása"), ("push button", "Mégse")])

    # "Magyar-Angol", as at start: the Hungarian side is shown and the English box takes the answer.
    learner.press("Tanulás indítása")
    learner.check_screen("practice screen", [("push button", "Névjegy")] + signed_in + list_name + [
        ("label", "Angol"), ("text", "Angol"), ("label", "Magyar"), ("text", "Magyar"),
        ("label", "Üzenetek:"), ("text", "Üzenetek:"), ("label", "Megjegyzés:"), ("text", "Megjegyzés:"),
        ("text", "Rossz válasz: 0"), ("text", "Megmutattam: 0"), ("push button", "Mehet"),
        ("push button", "Megmutatja"), ("push button", "Vissza")])
    answers = {hungarian: english for english, hungarian, _ in PAIRS}
    for question in range(2):
        answer_box = learner.focused()
        if answer_box is None or role(answer_box) != "text" or answer_box.name != "Angol":
            fail("the English box does not have the focus at question %d" % (question + 1))
        asked = answer_box.description
        if not asked.startswith("Magyar: ") or asked[len("Magyar: "):] not in answers:
            fail("the answer box is described as %r" % asked)
        print("ok: the focus is on text 'Angol', described as %r" % asked)
        answer = answers[asked[len("Magyar: "):]]

        since = len(learner.events)
        learner.type("x")
        learner.key("Return")
        learner.heard("object:text-changed:insert", "text", "Üzenetek:", VERDICT_WRONG, since=since)
        learner.heard("object:state-changed:showing", "notification", VERDICT_WRONG, detail=1, since=since)
        print("ok: the wrong answer's verdict arrived as a notification and as the text of 'Üzenetek:'")
        if not learner.focus_is("Angol", "text"):
            fail("the focus left the answer box after a wrong answer")

        since = len(learner.events)
        learner.press("Megmutatja")
        learner.heard("object:state-changed:showing", "notification", answer, detail=1, since=since)
        wait = learner.focused()
        if wait is None or wait.name != "Angol" or text_of(wait) != "":
            fail("'Megmutatja' did not hand the focus back to the empty answer box")
        print("ok: 'Megmutatja' said %r and handed the focus back" % answer)

        since = len(learner.events)
        learner.type(answer)
        learner.key("Return")
        if question == 0:
            following = [pair for pair in PAIRS if pair[0] != answer][0]
            said = "%s Magyar: %s" % (VERDICT_RIGHT, following[1])
            if following[2].strip():
                said += " Megjegyzés: " + following[2]
            learner.heard("object:state-changed:showing", "notification", said, detail=1, since=since)
            learner.heard("object:property-change:accessible-description", "text", "Angol", since=since)
            print("ok: the verdict and the next question arrived: %r" % said)
        else:
            learner.heard("object:state-changed:showing", "notification", CLOSING, detail=1, since=since)
            learner.heard("object:state-changed:focused", "push button", "Vissza", detail=1, since=since)
            print("ok: the closing message arrived and the focus is on 'Vissza'")
    learner.key("Return")
    learner.check_screen("practice setup screen after the run", common + signed_in + list_name + [
        ("table", "Szójegyzék"), ("radio button", "Angol-Magyar"), ("radio button", "Magyar-Angol"),
        ("radio button", "Vegyes felhozás"), ("push button", "Tanulás indítása"), ("push button", "Mégse")])

    # The about message is a window of its own, which the screen reader reads when it appears.
    learner.press("Névjegy")
    about = learner.dialog() or fail("no about message")
    texts = []
    def collect(accessible, depth):
        if accessible.name:
            texts.append(accessible.name)
        for index in range(accessible.childCount if depth else 0):
            child = accessible.getChildAtIndex(index)
            if child is not None:
                collect(child, depth - 1)
    collect(about, 3)
    if not any("Verzió: 1.0" in text for text in texts):
        fail("the about message reads %r" % texts)
    print("ok: the about message is a %s named %r, reading %r" % (role(about), about.name, texts))
    learner.key("Return")
    wait_for(lambda: learner.dialog() is None, 10, "the about message to close")
    learner.give_back_input_focus()
    learner.press("EXIT")
    if learner.finish() != 0:
        fail("EXIT ended the program with an error")
    learner.check_pointer_untouched()


if __name__ == "__main__":
    main(journey)
