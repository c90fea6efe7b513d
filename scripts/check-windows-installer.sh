#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The Windows installer, as a school's administrator runs it, under wine: installed silently, the
# installed programs (the learners' and the teacher's window) started from their Start menu entries'
# folder until their windows show (pictures in build-windows/installed-window.png and
# installed-teacher-window.png), then uninstalled silently. The class folder and its list of
# learners stay. Uses the wine prefix of scripts/windows.sh (WINEPREFIX), or a new one.
#   usage: check-windows-installer.sh <setup.exe>
set -uo pipefail
setup="$(readlink -f "$1")"
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export WINEDEBUG=-all
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
# A prefix of its own, copied from the prepared one, so that the check starts from a computer
# without the program and leaves nothing behind.
if [ -n "${WINEPREFIX:-}" ] && [ -d "$WINEPREFIX" ]; then
    cp -a "$WINEPREFIX" "$work/prefix"
fi
export WINEPREFIX="$work/prefix"
[ -d "$WINEPREFIX" ] || wineboot -i >/dev/null 2>&1

failures=0
pass() { echo "PASS: $*"; }
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

c="$WINEPREFIX/drive_c"
program="$c/Program Files/Vokalindo"
class="$c/users/Public/Documents/Vokalindo"
shortcut="$c/ProgramData/Microsoft/Windows/Start Menu/Programs/Vokalindo.lnk"
teacher_shortcut="$c/ProgramData/Microsoft/Windows/Start Menu/Programs/Vokalindo – tanári ablak.lnk"
config="$c/ProgramData/Vokalindo/vokalindo.conf"

if wine "$setup" /S >"$work/install.log" 2>&1 && wineserver -w; then
    pass "the installer ran silently"
else
    fail "the silent install failed: $(tail -n 3 "$work/install.log")"
fi
for file in "$program/Vokalindo.exe" "$program/vokalindo-lists.exe" "$program/vokalindo-tanar.exe" "$program/uninstall.exe" \
    "$shortcut" "$teacher_shortcut"; do
    [ -f "$file" ] && pass "installed: ${file#"$c"/}" || fail "not installed: ${file#"$c"/}"
done
[ -f "$class/init.usr" ] && [ ! -s "$class/init.usr" ] && pass "the class folder has an empty list of learners" ||
    fail "no empty init.usr in the class folder"
grep -q 'directory=C:\\users\\Public\\Documents\\Vokalindo' "$config" 2>/dev/null &&
    pass "the computer's setting names the class folder" || fail "no setting naming the class folder: $config"
# Both entries start their program in the class folder ("Start in": a UTF-16 string of the link, after
# its length).
for link in "$shortcut" "$teacher_shortcut"; do
    link_text="$(strings -el "$link" 2>/dev/null)"
    grep -qi '^.C:\\users\\Public\\Documents\\Vokalindo$' <<<"$link_text" &&
        pass "$(basename "$link") starts in the class folder" || fail "$(basename "$link") does not start in the class folder"
done

# The installed programs, started in the class folder as their shortcuts start them, show their windows.
if command -v Xvfb >/dev/null && command -v xdotool >/dev/null; then
    cat >"$work/window.sh" <<'EOS'
cd "$1" || exit 1
# Not a job of this shell: wineserver -k ends it, without a "Killed" line.
(wine "$2" >/dev/null 2>&1 &)
for _ in $(seq 1 60); do
    if id="$(xdotool search --onlyvisible --name "$4" 2>/dev/null | head -n 1)" && [ -n "$id" ]; then
        sleep 2
        import -window root "$3" 2>/dev/null
        echo shown
        break
    fi
    sleep 1
done
wineserver -k
EOS
    mkdir -p "$root/build-windows"
    for shown in "Vokalindo.exe:installed-window.png:^Angol - Magyar - Angol" \
        "vokalindo-tanar.exe:installed-teacher-window.png:^Vokalindo – tanári ablak"; do
        IFS=: read -r exe picture title <<<"$shown"
        if [ "$(bash "$root/tests/real_display/own_display.sh" 1024x768x24 -- bash "$work/window.sh" "$class" "$program/$exe" \
            "$root/build-windows/$picture" "$title")" = shown ]; then
            pass "the installed $exe opened its window (picture: build-windows/$picture)"
        else
            fail "the installed $exe showed no window within a minute"
        fi
    done
else
    fail "Xvfb or xdotool missing: the installed window was not looked at"
fi

# The uninstaller copies itself away and goes on from there: wineserver -w waits until it is done.
if wine "$program/uninstall.exe" /S >"$work/uninstall.log" 2>&1 && wineserver -w; then
    pass "the uninstaller ran silently"
else
    fail "the silent uninstall failed: $(tail -n 3 "$work/uninstall.log")"
fi
[ ! -e "$program" ] && [ ! -e "$shortcut" ] && [ ! -e "$teacher_shortcut" ] &&
    pass "the programs, their folder and the Start menu entries are gone" ||
    fail "the uninstaller left the programs or a Start menu entry"
[ -f "$class/init.usr" ] && pass "the class folder and its learners stay" || fail "the uninstaller removed the class folder"

echo "$failures failed"
[ "$failures" -eq 0 ]
