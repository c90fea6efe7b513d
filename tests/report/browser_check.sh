#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Opens a class report in headless Chromium, as a teacher's browser would, with no display and no
# network: the page must load without a console message, its class table must hold one row a
# learner as the browser built it (read back from the rendered DOM), every learner with runs must
# have a drawn picture, and a screenshot must be made.
#   browser_check.sh REPORT_PROGRAM GENERATE_CLASS_SCRIPT [SCREENSHOT.png]
set -euo pipefail
report="$(realpath "$1")" generate="$(realpath "$2")" screenshot="${3:+$(realpath -m "$3")}"
browser="$(command -v chromium || command -v chromium-browser)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# Five learners with 40 runs each and one without a run; one log with a hand-edited line.
bash "$generate" "$work/class" 5 40
printf 'ezt a sort k\351zzel \355rtam\r\n' >> "$work/class/Kovács Anna 2/Kovács Anna 2.log"
(cd "$work" && "$report" --directory "$work/class")
page="$work/eredmenyek.html"
[ -s "$page" ] || { echo "no report written" >&2; exit 1; }

# Chromium as root needs --no-sandbox; its own profile keeps it from touching the user's.
run_browser() {
    "$browser" --headless --no-sandbox --disable-gpu --no-first-run --user-data-dir="$work/profile" \
        --enable-logging=stderr --v=0 --window-size=1100,1500 "$@" "file://$page"
}
run_browser --dump-dom > "$work/dom.html" 2> "$work/dom.log"
if grep -E 'CONSOLE|Uncaught|net::ERR' "$work/dom.log"; then
    echo "the browser reported errors for the page" >&2
    exit 1
fi

# What the browser built, read back from its DOM.
python3 - "$work/dom.html" <<'PY'
import sys
from html.parser import HTMLParser

class Reader(HTMLParser):
    def __init__(self):
        super().__init__()
        self.stack = []
        self.rows = []          # the class table's body rows, as lists of cell texts
        self.cell = None
        self.pictures = 0       # <svg> elements inside a learner's section holding drawn lines
        self.svg_depth = None
        self.svg_lines = 0
        self.sections = 0
        self.stray = 0
        self.captions = 0       # captions that the browser keeps as captions of their figures

    def inside(self, tag, **attrs):
        return any(t == tag and all(a.get(k) == v for k, v in attrs.items()) for t, a in self.stack)

    def handle_starttag(self, tag, attrs):
        attrs = dict(attrs)
        self.stack.append((tag, attrs))
        if tag == "tr" and self.inside("table", id="osztaly") and self.inside("tbody"):
            self.rows.append([])
        if tag == "td" and self.inside("table", id="osztaly") and self.inside("tbody"):
            self.cell = ""
        if tag == "section" and attrs.get("class") == "tanulo":
            self.sections += 1
        if tag == "svg" and self.inside("section", **{"class": "tanulo"}):
            self.svg_depth, self.svg_lines = len(self.stack), 0
        if tag == "polyline" and self.svg_depth is not None:
            self.svg_lines += 1
        if tag == "li" and self.inside("div", **{"class": "nem-eredmenysorok"}):
            self.stray += 1
        if tag == "figcaption" and len(self.stack) > 1 and self.stack[-2][0] == "figure" and not self.inside("svg"):
            self.captions += 1

    def handle_endtag(self, tag):
        if tag == "td" and self.cell is not None:
            self.rows[-1].append(self.cell.strip())
            self.cell = None
        if tag == "svg" and self.svg_depth == len(self.stack):
            self.pictures += self.svg_lines > 0
            self.svg_depth = None
        while self.stack:
            if self.stack.pop()[0] == tag:
                break

    def handle_startendtag(self, tag, attrs):
        self.handle_starttag(tag, attrs)
        self.handle_endtag(tag)

    def handle_data(self, data):
        if self.cell is not None:
            self.cell += data

reader = Reader()
reader.feed(open(sys.argv[1], encoding="utf-8").read())
names = [row[0] for row in reader.rows]
expected = ["Horváth Anna 5", "Kovács Anna 2", "Nagy Anna 1", "Szabó Anna 4", "Tóth Anna 3", "Új Tanuló"]
problems = []
if names != expected:
    problems.append(f"class table rows {names}, expected {expected}")
runs = {row[0]: row[1] for row in reader.rows}
if any(runs.get(name) != "40" for name in expected[:-1]) or runs.get("Új Tanuló") != "0":
    problems.append(f"runs per learner {runs}")
if reader.sections != 6:
    problems.append(f"{reader.sections} learner sections, expected 6")
if reader.pictures != 5:
    problems.append(f"{reader.pictures} drawn pictures of learners, expected 5")
if reader.captions != 6:
    problems.append(f"{reader.captions} figure captions outside the pictures, expected 6")
if reader.stray != 1:
    problems.append(f"{reader.stray} stray lines listed, expected 1")
if problems:
    sys.exit("the rendered page: " + "; ".join(problems))
print(f"rendered page: {len(reader.rows)} rows in the class table, {reader.pictures} learner pictures drawn,"
      f" {reader.captions} captions")
PY

shot="${screenshot:-$work/report.png}"
run_browser --screenshot="$shot" --hide-scrollbars > /dev/null 2> "$work/shot.log"
if grep -E 'CONSOLE|Uncaught|net::ERR' "$work/shot.log"; then
    echo "the browser reported errors for the page" >&2
    exit 1
fi
# A PNG of the window's size, not a blank one (a blank page compresses to a few kilobytes).
python3 - "$shot" <<'PY'
import struct, sys
data = open(sys.argv[1], "rb").read()
if data[:8] != b"\x89PNG\r\n\x1a\n":
    sys.exit("the screenshot is not a PNG")
width, height = struct.unpack(">II", data[16:24])
if (width, height) != (1100, 1500) or len(data) < 40000:
    sys.exit(f"the screenshot is {width}x{height}, {len(data)} bytes: blank or cut")
print(f"screenshot {width}x{height}, {len(data)} bytes")
PY
