# SPDX-License-Identifier: GPL-3.0-or-later
"""A learner who drives the program with the keyboard alone and follows it through the screen reader's
view of it, the AT-SPI tree: X key events through xdotool, never the pointer; the focus, the names
and the events as pyatspi, the library screen readers are built on, reports them.

Run under an X server with an AT-SPI bus (see screen_reader.sh)."""

import collections
import os
import shutil
import subprocess
import sys
import tempfile
import time

import pyatspi
from gi.repository import GLib

CAPTION = "Angol - Magyar - Angol   Vokalindo"


def log_header(learner):
    """The first line of a learner's results log, as the bytes on disk."""
    return (learner + " Eredményei:\r\n").encode("cp1250")


def list_bytes(*records):
    """A word list's bytes: each record's fields (number, English, Hungarian, note) closed by 0x0E, then CR LF."""
    return "".join("\x0e".join(record) + "\x0e\r\n" for record in records).encode("cp1250")


class Failure(Exception):
    pass


def fail(message):
    raise Failure(message)


def pump(seconds):
    """Lets the events of the next seconds arrive."""
    deadline = time.monotonic() + seconds
    context = GLib.MainContext.default()
    while time.monotonic() < deadline:
        while context.iteration(False):
            pass
        time.sleep(0.02)


def wait_for(condition, seconds=10, what="a condition"):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        value = condition()
        if value:
            return value
        pump(0.1)
    fail("waited %d s in vain for %s" % (seconds, what))


def role(accessible):
    return accessible.getRoleName()


def showing(accessible):
    return accessible.getState().contains(pyatspi.STATE_SHOWING)


def text_of(accessible):
    text = accessible.queryText()
    return text.getText(0, text.characterCount)


# The accented letters have no key on the display's keyboard: xdotool lends each one a spare key for the
# moment of the stroke, so they go one at a time with time to spare.
ACCENTS = {
    "á": "aacute", "é": "eacute", "í": "iacute", "ó": "oacute", "ö": "odiaeresis", "ő": "odoubleacute",
    "ú": "uacute", "ü": "udiaeresis", "ű": "udoubleacute", "Á": "shift+aacute", "É": "shift+eacute",
    "Í": "shift+iacute", "Ó": "shift+oacute", "Ö": "shift+odiaeresis", "Ő": "shift+odoubleacute",
    "Ú": "shift+uacute", "Ü": "shift+udiaeresis", "Ű": "shift+udoubleacute",
}


class Learner:
    def __init__(self, program, start_directory):
        self.events = []
        self.last_focus = None
        for kind in ("object:state-changed:focused", "object:state-changed:showing", "object:text-changed:insert",
                     "object:property-change:accessible-description", "window:activate"):
            pyatspi.Registry.registerEventListener(self._record, kind)
        environment = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_QPA_PLATFORM="xcb")
        self.pointer_at_start = self._pointer()
        self.process = subprocess.Popen([program], cwd=start_directory, env=environment)
        self.app = wait_for(self._find_app, 20, "the program on the AT-SPI bus")
        self.window = wait_for(self._find_window, 20, "the window in the AT-SPI tree")
        if self.window.name != CAPTION:
            fail("the window is named %r" % self.window.name)
        window_id = subprocess.run(["xdotool", "search", "--sync", "--onlyvisible", "--limit", "1", "--name",
                                    "^Angol - Magyar"], capture_output=True, text=True, timeout=15).stdout.split()
        if not window_id:
            fail("no X window appeared")
        self.x_window = window_id[0]
        self.give_back_input_focus()

    def give_back_input_focus(self):
        """Xvfb runs no window manager: when a dialog closes, nothing hands the X input focus back to the
        window, as every desktop does. This does it (a focus request, not a pointer event)."""
        subprocess.run(["xdotool", "windowfocus", "--sync", self.x_window], capture_output=True)
        pump(0.5)

    def _record(self, event):
        if event.type == "object:state-changed:focused" and event.detail1 == 1:
            self.last_focus = event.source
        try:
            data = event.any_data if isinstance(event.any_data, str) else None
            self.events.append((event.type, role(event.source), event.source.name, event.detail1, data))
        except Exception:  # the source may be gone by now
            pass

    def _find_app(self):
        desktop = pyatspi.Registry.getDesktop(0)
        for index in range(desktop.childCount):
            app = desktop.getChildAtIndex(index)
            if app is not None and app.name == "vokalindo":
                return app
        return None

    def _find_window(self):
        for index in range(self.app.childCount):
            child = self.app.getChildAtIndex(index)
            if child is not None and child.name == CAPTION:
                return child
        return None

    @staticmethod
    def _pointer():
        return subprocess.run(["xdotool", "getmouselocation"], capture_output=True, text=True).stdout.strip()

    def check_pointer_untouched(self):
        if self._pointer() != self.pointer_at_start:
            fail("the pointer moved: %s, then %s" % (self.pointer_at_start, self._pointer()))

    # The keyboard.

    def key(self, *keys):
        subprocess.run(["xdotool", "key", "--delay", "60"] + list(keys), check=True)
        pump(0.25)

    def type(self, text):
        plain = ""
        for letter in text + "\0":
            if letter in ACCENTS or letter == "\0":
                if plain:
                    subprocess.run(["xdotool", "type", "--delay", "30", plain], check=True,
                                   env=dict(os.environ, LC_ALL="C.UTF-8"))
                    plain = ""
                if letter in ACCENTS:
                    subprocess.run(["xdotool", "key", "--delay", "200", ACCENTS[letter]], check=True)
            else:
                plain += letter
        pump(0.25)

    # What the screen reader knows.

    def focused(self):
        """The control that last told of getting the focus, as a screen reader follows it; None before any.
        (The states alone would not do: an item of a list view still reads as focused after the focus has
        left the list.)"""
        pump(0.1)
        try:
            self.last_focus.getRoleName()
        except Exception:  # none yet, or a dialog's control that is gone
            return None
        return self.last_focus

    def focus_is(self, name, kind=None):
        focus = self.focused()
        return focus is not None and focus.name == name and (kind is None or role(focus) == kind)

    def tab_to(self, name, kind="push button"):
        """Tab, as a learner does, until the screen reader names the control wanted."""
        visited = []
        for _ in range(40):
            if self.focus_is(name, kind):
                return
            focus = self.focused()
            visited.append(focus and "%s %r" % (role(focus), focus.name))
            self.key("Tab")
        fail("Tab never reached %s %r; it went through %s" % (kind, name, ", ".join(map(str, visited[:20]))))

    def press(self, name, kind="push button"):
        self.tab_to(name, kind)
        self.key("space")
        pump(0.3)

    def dialog(self):
        """A top-level window of the program besides the main one (a file dialog, a message box), or None."""
        for index in range(self.app.childCount):
            top = self.app.getChildAtIndex(index)
            if top is not None and top.name != CAPTION and showing(top):
                return top
        return None

    def answer_file_dialog(self, path, what):
        wait_for(self.dialog, 10, "the file dialog of %s" % what)
        pump(0.5)
        self.type(path)
        self.key("Return")
        wait_for(lambda: self.dialog() is None, 10, "the file dialog of %s to close" % what)
        self.give_back_input_focus()

    def visible_controls(self):
        """The window's controls as the screen reader lists them: (role, name) of each one showing."""
        controls = collections.Counter()
        def add(parent):
            for index in range(parent.childCount):
                child = parent.getChildAtIndex(index)
                if child is None or not showing(child):
                    continue
                controls[(role(child), child.name)] += 1
                if role(child) == "panel":
                    add(child)
        add(self.window)
        return controls

    def check_screen(self, screen, expected):
        wanted = collections.Counter(expected)
        try:
            wait_for(lambda: self.visible_controls() == wanted, 5, "the %s" % screen)
        except Failure:
            listed = self.visible_controls()
            fail("the %s lists %s more and %s less than it should" % (screen, dict(listed - wanted),
                                                                      dict(wanted - listed)))
        for kind, name in wanted:
            if not name.strip():
                fail("a %s without a name on the %s" % (kind, screen))
        focus = wait_for(self.focused, 5, "the focus on the %s" % screen)
        print("ok: the %s lists %d controls; the focus is on %s %r" % (screen, sum(wanted.values()), role(focus),
                                                                       focus.name))

    def heard(self, kind, source_role=None, name=None, data=None, detail=None, since=0, seconds=5):
        """Waits for an event of the kind given, matching the rest of what is given."""
        def match():
            for event in self.events[since:]:
                if event[0] == kind and (source_role is None or event[1] == source_role) \
                        and (name is None or event[2] == name) and (detail is None or event[3] == detail) \
                        and (data is None or event[4] == data):
                    return event
            return None
        return wait_for(match, seconds, "the event %s %s %r %r" % (kind, source_role, name, data))

    def finish(self):
        try:
            return self.process.wait(timeout=10)
        except subprocess.TimeoutExpired:
            self.process.kill()
            fail("the program did not end")


def main(journey):
    """Runs journey(program, start_directory) in a start directory of its own and reports as the other
    real-display tests do. Usage: script.py path/to/vokalindo"""
    start = tempfile.mkdtemp()
    try:
        journey(os.path.abspath(sys.argv[1]), start)
    except Failure as failure:
        print("FAIL: %s" % failure, file=sys.stderr)
        sys.exit(1)
    finally:
        shutil.rmtree(start, ignore_errors=True)
    print("1 passed, 0 failed")
