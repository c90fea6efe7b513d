#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks a built Vokalindo .deb: what it holds and what it leaves out, its control fields and
# dependencies, lintian, the desktop entries and the AppStream metainfo through their validators, the
# programs' command lines, and the launcher (the account's own directory and a configured shared
# one), which is run from the unpacked package with the real program on the offscreen platform.
# Ends with "N passed, M failed" and exits non-zero on any failure.
#
#   bash scripts/check-package.sh [build-package/vokalindo_1.0_amd64.deb]
#
# Without an argument it checks the one package that scripts/package.sh left in build-package/.
set -uo pipefail

source "$(dirname "${BASH_SOURCE[0]}")/check-tally.sh"

deb="${1:-}"
if [ -z "$deb" ]; then
    built=("$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"/build-package/vokalindo_*.deb)
    [ ${#built[@]} -eq 1 ] && deb="${built[0]}"
fi
if [ -z "$deb" ] || [ ! -f "$deb" ]; then
    fail "no package to check (${deb:-none, or more than one in build-package/}): usage: $0 [PATH/TO/vokalindo_VERSION_ARCH.deb]"
    finish
fi
echo "Checking $deb"
deb="$(readlink -f "$deb")"

# The validators, from the "package" group.
bash "$(dirname "${BASH_SOURCE[0]}")/install-dependencies.sh" package || { fail "the validators could not be installed"; finish; }

work="$(mktemp -d)"
started=()
cleanup() {
    for pid in "${started[@]}"; do kill "$pid" 2>/dev/null; done
    rm -rf "$work"
}
trap cleanup EXIT

app_id=hu.vokalindo.vokalindo
launcher=usr/bin/vokalindo
program=usr/libexec/vokalindo/vokalindo
desktop=usr/share/applications/$app_id.desktop
icon=usr/share/icons/hicolor/scalable/apps/$app_id.svg
metainfo=usr/share/metainfo/$app_id.metainfo.xml
manual=usr/share/man/man1/vokalindo.1.gz
report=usr/bin/vokalindo-report
report_manual=usr/share/man/man1/vokalindo-report.1.gz
lists=usr/bin/vokalindo-lists
lists_manual=usr/share/man/man1/vokalindo-lists.1.gz
teacher=usr/bin/vokalindo-tanar
teacher_desktop=usr/share/applications/hu.vokalindo.tanar.desktop
teacher_manual=usr/share/man/man1/vokalindo-tanar.1.gz
docs=usr/share/doc/vokalindo

# --- Contents -------------------------------------------------------------------------------

if ! dpkg-deb -c "$deb" >"$work/contents.txt" 2>"$work/contents.err"; then
    fail "dpkg-deb cannot list the package: $(cat "$work/contents.err")"
    finish
fi
# Paths without the leading "./"; a link's target is cut off.
awk '{ sub(/ -> .*/, ""); path = $6; sub(/^\.\//, "", path); if (path != "") print path }' \
    "$work/contents.txt" >"$work/paths.txt"

for path in "$launcher" "$program" "$desktop" "$icon" "$metainfo" "$manual" "$docs/copyright" \
    "$docs/changelog.gz" "$docs/examples/vokalindo.conf" "$report" "$report_manual" "$lists" "$lists_manual" \
    "$teacher" "$teacher_desktop" "$teacher_manual"; do
    if grep -qx "$path" "$work/paths.txt"; then pass "package holds /$path"
    else fail "package lacks /$path"; fi
done

for path in "$launcher" "$program" "$report" "$lists" "$teacher"; do
    if grep -E "^-rwxr-xr-x .* \./$path\$" "$work/contents.txt" >/dev/null; then pass "/$path is executable"
    else fail "/$path is not installed as an executable (rwxr-xr-x)"; fi
done

# Nothing of the tests, fuzzers, benchmarks or the build's libraries and headers.
leftovers="$(grep -Ei '(^|/)(tests?|fuzz|bench)(/|$)|(^|/)(test|fuzz|bench)_[^/]*$|test_support|vokalindo_core|\.a$|\.h$|/include/' \
             "$work/paths.txt" || true)"
if [ -z "$leftovers" ]; then pass "no test, fuzz or benchmark files, libraries or headers"
else fail "package holds what it must not: $(echo "$leftovers" | tr '\n' ' ')"; fi

outside="$(grep -v '^usr/' "$work/paths.txt" | grep -vx 'usr' || true)"
local_files="$(grep '^usr/local/' "$work/paths.txt" || true)"
if [ -z "$outside" ] && [ -z "$local_files" ]; then pass "every file lies under /usr, none under /usr/local"
else fail "files outside /usr or under /usr/local: $(echo "$outside $local_files" | tr '\n' ' ')"; fi

# --- Control fields -------------------------------------------------------------------------

field() { dpkg-deb -f "$deb" "$1" 2>/dev/null; }
expect_field() { # NAME WHAT-IT-MUST-BE (a pattern for grep -Ex)
    # Read whole first: grep -q stops at its first match, and under pipefail the writer it cut off
    # would fail the check now and then.
    local value
    value="$(field "$1")"
    if grep -Eqx -- "$2" <<<"$value"; then pass "$1: $(head -n 1 <<<"$value")"
    else fail "$1 is '$(head -n 1 <<<"$value")'"; fi
}
expect_field Package vokalindo
expect_field Section education
expect_field Maintainer '.+ <[^ ]+@[^ ]+>'
# The project and its address, not a placeholder.
if grep -Eqi '@(example\.(org|com|net)|[^>]*\.invalid|localhost)|@[^>]*\.example>|noreply' <<<"$(field Maintainer)"; then
    fail "Maintainer is a placeholder address: $(field Maintainer)"
else pass "Maintainer names no placeholder address"; fi
expect_field Description '.+'

depends="$(field Depends)"
echo "Depends: $depends"
# Each group of alternatives as its package names alone, one group a line.
echo "$depends" | tr ',' '\n' | sed -E 's/\([^)]*\)//g; s/\|/ /g; s/^ +//; s/ +$//; s/ +/ /g' \
    >"$work/depends.txt"
for needed in libc6 libqt6core6 libqt6gui6 libqt6widgets6 libqt6printsupport6 qt6-translations-l10n fonts-dejavu-core; do
    if grep -qw -- "$needed" "$work/depends.txt"; then pass "Depends names $needed"
    else fail "Depends does not name $needed"; fi
done
if grep -qE '(^| )fonts-liberation2( |$)' "$work/depends.txt"; then pass "Depends names fonts-liberation2"
else fail "Depends does not name fonts-liberation2"; fi

# apt resolves the whole package against this machine's packages, as `apt-get install ./x.deb` would.
if apt-get install -s "$deb" >"$work/apt-sim.txt" 2>&1; then pass "apt-get can resolve every dependency"
else fail "apt-get cannot install the package: $(tail -n 5 "$work/apt-sim.txt" | tr '\n' ' ')"; fi

# Debian's own checker: no error and no warning. Informational tags are not shown; nothing is
# overridden.
if command -v lintian >/dev/null; then
    lintian --fail-on error,warning "$deb" >"$work/lintian.txt" 2>"$work/lintian.err"
    lintian_status=$?
    if [ "$lintian_status" -eq 0 ] && ! grep -q '^[EW]: ' "$work/lintian.txt"; then pass "lintian: no errors, no warnings"
    else fail "lintian (status $lintian_status): $(tr '\n' ' ' <"$work/lintian.txt") $(grep -v 'root privileges' "$work/lintian.err" | tr '\n' ' ')"; fi
else
    fail "lintian is not installed"
fi

# --- Unpacked files -------------------------------------------------------------------------

root="$work/root"
mkdir -p "$root"
if ! dpkg-deb -x "$deb" "$root" 2>"$work/extract.err"; then
    fail "dpkg-deb cannot unpack the package: $(cat "$work/extract.err")"
    finish
fi

if [ -f "$root/$desktop" ]; then
    if desktop-file-validate "$root/$desktop" >"$work/desktop.txt" 2>&1 && [ ! -s "$work/desktop.txt" ]; then
        pass "desktop-file-validate: no errors, no warnings"
    else
        fail "desktop-file-validate: $(tr '\n' ' ' <"$work/desktop.txt")"
    fi
    entry() { sed -n "s/^$1=//p" "$root/$desktop" | head -n 1; }
    exec_command="$(entry Exec | awk '{ print $1 }')"
    if [ "$exec_command" = vokalindo ] && [ -x "$root/$launcher" ]; then pass "desktop entry starts the launcher (Exec=$(entry Exec))"
    else fail "desktop entry Exec=$(entry Exec) is not the packaged launcher"; fi
    if [ "$(entry Icon)" = "$app_id" ] && [ -f "$root/usr/share/icons/hicolor/scalable/apps/$(entry Icon).svg" ]; then
        pass "desktop entry's Icon=$(entry Icon) is in the package"
    else fail "desktop entry's Icon=$(entry Icon) has no icon in the package"; fi
    if [ "$(entry Name)" = Vokalindo ]; then pass "desktop entry Name=Vokalindo"
    else fail "desktop entry Name=$(entry Name)"; fi
    if [ -n "$(entry Comment)" ] && [ -n "$(entry 'Comment\[hu\]')" ] && [ -n "$(entry 'Name\[hu\]')" ]; then
        pass "desktop entry's name and comment in English and Hungarian"
    else fail "desktop entry lacks Comment, Comment[hu] or Name[hu]"; fi
    if entry Categories | grep -q 'Education;' && entry Categories | grep -q 'Languages;'; then
        pass "desktop entry in Education and Languages"
    else fail "desktop entry Categories=$(entry Categories)"; fi
fi

# The teacher's window: its own entry, the same icon, its Hungarian name.
if [ -f "$root/$teacher_desktop" ]; then
    if desktop-file-validate "$root/$teacher_desktop" >"$work/teacher-desktop.txt" 2>&1 && [ ! -s "$work/teacher-desktop.txt" ]; then
        pass "desktop-file-validate $(basename "$teacher_desktop"): no errors, no warnings"
    else
        fail "desktop-file-validate $(basename "$teacher_desktop"): $(tr '\n' ' ' <"$work/teacher-desktop.txt")"
    fi
    teacher_entry() { sed -n "s/^$1=//p" "$root/$teacher_desktop" | head -n 1; }
    if [ "$(teacher_entry Exec | awk '{ print $1 }')" = vokalindo-tanar ] && [ -x "$root/$teacher" ]; then
        pass "teacher's desktop entry starts /$teacher (Exec=$(teacher_entry Exec))"
    else fail "teacher's desktop entry Exec=$(teacher_entry Exec) is not the packaged /$teacher"; fi
    if [ "$(teacher_entry Icon)" = "$app_id" ]; then pass "teacher's desktop entry has the program's icon"
    else fail "teacher's desktop entry Icon=$(teacher_entry Icon)"; fi
    if [ "$(teacher_entry 'Name\[hu\]')" = "Vokalindo – tanári ablak" ] && [ -n "$(teacher_entry 'Comment\[hu\]')" ]; then
        pass "teacher's desktop entry Name[hu]=$(teacher_entry 'Name\[hu\]'), with a Hungarian comment"
    else fail "teacher's desktop entry Name[hu]=$(teacher_entry 'Name\[hu\]'), Comment[hu]=$(teacher_entry 'Comment\[hu\]')"; fi
fi

if [ -f "$root/$metainfo" ]; then
    # --pedantic: every remark down to the pedantic hints counts. --no-net: the screenshots and the
    # home page are not fetched, so the check needs no network.
    if appstreamcli validate --no-net --pedantic "$root/$metainfo" >"$work/metainfo.txt" 2>&1 \
        && ! grep -Eq '^[EWIP]: ' "$work/metainfo.txt"; then
        pass "appstreamcli validate --no-net --pedantic: $(tail -n 1 "$work/metainfo.txt")"
    else
        fail "appstreamcli validate: $(tr '\n' ' ' <"$work/metainfo.txt")"
    fi
    if grep -q '<release version=' "$root/$metainfo" && grep -q '<screenshot' "$root/$metainfo"; then
        pass "metainfo has its releases and screenshots"
    else fail "metainfo lacks releases or screenshots"; fi
    if grep -q "<id>$app_id</id>" "$root/$metainfo" \
        && grep -q "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" "$root/$metainfo"; then
        pass "metainfo names the packaged desktop entry"
    else fail "metainfo's id or launchable does not match $app_id.desktop"; fi
    if grep -q "<launchable type=\"desktop-id\">$(basename "$teacher_desktop")</launchable>" "$root/$metainfo"; then
        pass "metainfo names the teacher's desktop entry"
    else fail "metainfo does not name $(basename "$teacher_desktop")"; fi
fi

if [ -f "$root/$icon" ]; then
    if grep -q '<svg' "$root/$icon" && { ! command -v xmllint >/dev/null || xmllint --noout "$root/$icon" 2>/dev/null; }; then
        pass "icon is an SVG document"
    else fail "icon is not a well-formed SVG document"; fi
fi

for binary in "$program" "$teacher"; do
    [ -f "$root/$binary" ] || continue
    if unresolved="$(ldd "$root/$binary" 2>&1)" && ! grep -q 'not found' <<<"$unresolved"; then
        pass "every library /$binary links is found"
    else fail "/$binary's libraries: $(grep 'not found' <<<"$unresolved" | tr '\n' ' ')"; fi
    if command -v readelf >/dev/null; then
        if grep -Eq '\((RPATH|RUNPATH)\)' <<<"$(readelf -d "$root/$binary")"; then
            fail "/$binary carries a library search path: $(readelf -d "$root/$binary" | grep -E 'R(UN)?PATH')"
        else pass "/$binary carries no RPATH or RUNPATH"; fi
    fi
done

# The teacher's page: its name line, and the options of its --help.
if [ -f "$root/$teacher_manual" ]; then
    page="$(gzip -dc "$root/$teacher_manual")"
    if grep -q '^vokalindo\\\?-tanar \\- ' <<<"$page" && grep -q '^\.SH KAPCSOLÓK' <<<"$page" && grep -q 'directory' <<<"$page"; then
        pass "/$teacher_manual has its name line and options"
    else fail "/$teacher_manual lacks its name line or options"; fi
fi

# --- The launcher ---------------------------------------------------------------------------
# Runs the unpacked launcher as a learner would start it, with the real program on the offscreen
# platform. The program waits for its learner forever, so each run is ended once checked.

if [ ! -x "$root/$launcher" ] || [ ! -x "$root/$program" ]; then
    fail "launcher runs not tried: launcher or program missing"
    finish
fi
program_path="$(readlink -f "$root/$program")"
run=0

# start_launcher ENV...: starts the launcher in $start_dir with only the given environment (plus
# PATH and the offscreen platform) and sets $pid and $log. Every exec keeps the process id, so
# $pid ends up as the program's. The computer's own configuration is never read: on a computer set
# up for a class it would start the program in the real class folder.
start_dir="$work"
start_launcher() {
    run=$((run + 1))
    log="$work/run$run.log"
    (cd "$start_dir" && exec env -i PATH="$PATH" QT_QPA_PLATFORM=offscreen LC_ALL=C.UTF-8 \
        VOKALINDO_SYSTEM_CONFIG="$work/no-such-system.conf" "$@" "$root/$launcher") </dev/null >"$log" 2>&1 &
    pid=$!
    started+=("$pid")
}

# wait_for_program: true once the launcher has become the program, still running 2 s later.
wait_for_program() {
    local _
    for _ in $(seq 1 100); do
        kill -0 "$pid" 2>/dev/null || return 1
        [ "$(readlink -f "/proc/$pid/exe" 2>/dev/null)" = "$program_path" ] && break
        sleep 0.1
    done
    [ "$(readlink -f "/proc/$pid/exe" 2>/dev/null)" = "$program_path" ] || return 1
    sleep 2
    kill -0 "$pid" 2>/dev/null
}

stop_launcher() {
    kill "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
}

# First start: no data directory yet.
home="$work/home1"
mkdir -p "$home"
data="$home/.local/share/vokalindo"
start_launcher HOME="$home"
if wait_for_program; then
    pass "first start: the program is running"
    if [ "$(readlink -f "/proc/$pid/cwd")" = "$(readlink -f "$data")" ]; then pass "first start: it runs in $data"
    else fail "first start: it runs in $(readlink -f "/proc/$pid/cwd"), not in $data"; fi
else
    fail "first start: the program is not running: $(tr '\n' ' ' <"$log")"
fi
stop_launcher
if [ -d "$data" ] && [ "$(stat -c %a "$data")" = 700 ]; then pass "first start: made $data, private to its owner"
else fail "first start: no $data with mode 700 ($(stat -c %a "$data" 2>&1))"; fi
if [ -f "$data/init.usr" ] && [ ! -s "$data/init.usr" ]; then pass "first start: made an empty init.usr"
else fail "first start: no empty init.usr in $data"; fi

# A later start keeps the learners: init.usr stays byte for byte (Windows-1250, CR LF).
printf 'Anna\r\nB\xe9la\r\n' >"$data/init.usr"
cp "$data/init.usr" "$work/init.usr.before"
mkdir -p "$data/Anna"
start_launcher HOME="$home"
if wait_for_program; then pass "later start: the program is running"
else fail "later start: the program is not running: $(tr '\n' ' ' <"$log")"; fi
stop_launcher
if cmp -s "$data/init.usr" "$work/init.usr.before" && [ -d "$data/Anna" ]; then pass "later start: init.usr and the learner's directory are kept"
else fail "later start: init.usr or $data/Anna changed"; fi

# An existing but empty data directory gets its init.usr.
home="$work/home2"
mkdir -p "$home/.local/share/vokalindo"
start_launcher HOME="$home"
if wait_for_program && [ -f "$home/.local/share/vokalindo/init.usr" ]; then pass "an existing data directory without init.usr gets one"
else fail "an existing data directory without init.usr: $(tr '\n' ' ' <"$log")"; fi
stop_launcher

# XDG_DATA_HOME, when absolute, is where the data goes.
home="$work/home3"
mkdir -p "$home"
start_launcher HOME="$home" XDG_DATA_HOME="$work/xdg"
if wait_for_program && [ -f "$work/xdg/vokalindo/init.usr" ] && [ ! -e "$home/.local/share/vokalindo" ]; then
    pass "XDG_DATA_HOME=$work/xdg holds the data"
else fail "XDG_DATA_HOME not honoured: $(tr '\n' ' ' <"$log")"; fi
stop_launcher

# A relative XDG_DATA_HOME is invalid and ignored, so the data never lands wherever one started.
home="$work/home4"
mkdir -p "$home" "$work/cwd"
start_dir="$work/cwd"
start_launcher HOME="$home" XDG_DATA_HOME=relative
wait_for_program
running=$?
stop_launcher
start_dir="$work"
if [ "$running" = 0 ] && [ -f "$home/.local/share/vokalindo/init.usr" ] && [ ! -e "$work/cwd/relative" ]; then
    pass "a relative XDG_DATA_HOME is ignored"
else fail "a relative XDG_DATA_HOME was used: $(ls "$work/cwd")"; fi

# Without a place for the data the launcher refuses, with a message, and starts nothing.
if env -i PATH="$PATH" QT_QPA_PLATFORM=offscreen VOKALINDO_SYSTEM_CONFIG="$work/no-such-system.conf" timeout 10 \
        "$root/$launcher" </dev/null >"$work/nohome.log" 2>&1; then
    fail "without HOME the launcher succeeded"
elif [ "$?" -ne 124 ] && grep -q HOME "$work/nohome.log"; then pass "without HOME the launcher stops with a message"
else fail "without HOME: $(tr '\n' ' ' <"$work/nohome.log")"; fi

: >"$work/not-a-directory"
if env -i PATH="$PATH" QT_QPA_PLATFORM=offscreen HOME="$work/not-a-directory" \
        VOKALINDO_SYSTEM_CONFIG="$work/no-such-system.conf" timeout 10 "$root/$launcher" </dev/null >"$work/nodir.log" 2>&1; then
    fail "with HOME on a plain file the launcher succeeded"
elif [ "$?" -ne 124 ] && grep -q 'nem hozható létre' "$work/nodir.log"; then pass "a data directory that cannot be made stops the launcher with a message"
else fail "with HOME on a plain file: $(tr '\n' ' ' <"$work/nodir.log")"; fi

# Without a desktop the launcher says so, in Hungarian and in English, ends with status 1 (not Qt's
# abort, 134) and makes nothing.
# So does the program started with a folder of its own (the launcher hands it the arguments).
mkdir -p "$work/nodisplay-home" "$work/nodisplay-class"
: >"$work/nodisplay-class/init.usr"
for arguments in "" "--directory $work/nodisplay-class"; do
    # shellcheck disable=SC2086 # the arguments are words of this script's own
    env -i PATH="$PATH" LC_ALL=C.UTF-8 HOME="$work/nodisplay-home" VOKALINDO_SYSTEM_CONFIG="$work/no-such-system.conf" \
        timeout 10 "$root/$launcher" $arguments </dev/null >"$work/nodisplay.log" 2>&1
    status=$?
    if [ "$status" = 1 ] && grep -q 'grafikus asztali környezet kell' "$work/nodisplay.log" && grep -q 'needs a graphical desktop' "$work/nodisplay.log" \
        && [ -z "$(ls -A "$work/nodisplay-home")" ] && [ "$(ls -A "$work/nodisplay-class")" = init.usr ]; then
        pass "without a display the launcher${arguments:+ with $arguments} stops with status 1 and a message"
    else fail "without a display${arguments:+ with $arguments}: status $status, $(tr '\n' ' ' <"$work/nodisplay.log")"; fi
done
# The teacher's window too, whether it finds its folder in the computer's configuration or is given it.
printf 'directory=%s\n' "$work/nodisplay-class" >"$work/nodisplay-system.conf"
for arguments in "" "--directory $work/nodisplay-class"; do
    # shellcheck disable=SC2086 # the arguments are words of this script's own
    (cd "$work/nodisplay-home" && env -i PATH="$PATH" LC_ALL=C.UTF-8 HOME="$work/nodisplay-home" \
        VOKALINDO_SYSTEM_CONFIG="$work/nodisplay-system.conf" timeout 10 "$root/$teacher" $arguments) \
        </dev/null >"$work/nodisplay.log" 2>&1
    status=$?
    if [ "$status" = 1 ] && grep -q '^vokalindo-tanar: nincs grafikus felület' "$work/nodisplay.log" \
        && [ -z "$(ls -A "$work/nodisplay-home")" ] && [ "$(ls -A "$work/nodisplay-class")" = init.usr ]; then
        pass "without a display /$teacher${arguments:+ $arguments} stops with status 1 and a message"
    else fail "without a display /$teacher${arguments:+ $arguments}: status $status, $(tr '\n' ' ' <"$work/nodisplay.log")"; fi
done

# --- The command line ----------------------------------------------------------------------
# --help and --version need no display; anything the program does not know ends with status 2 and
# a message. Through the launcher too, which hands arguments on untouched.

# run_command NAME COMMAND...: runs without a display; sets $status, $out and $err.
run_command() {
    local name="$1"
    shift
    env -i PATH="$PATH" LC_ALL=C.UTF-8 HOME="$work/cli-home" VOKALINDO_SYSTEM_CONFIG="$work/no-such-system.conf" \
        timeout 10 "$@" </dev/null \
        >"$work/$name.out" 2>"$work/$name.err"
    status=$?
    out="$(cat "$work/$name.out")"
    err="$(cat "$work/$name.err")"
}
for command in "$root/$program" "$root/$launcher"; do
    which="${command#"$root"}"
    run_command help "$command" --help
    if [ "$status" = 0 ] && grep -q -- '--directory <mappa>' <<<"$out" && grep -q '^Használat: vokalindo' <<<"$out" \
        && [ -z "$err" ]; then pass "$which --help: status 0, Hungarian help on standard output"
    else fail "$which --help: status $status, output: $out $err"; fi
    run_command version "$command" --version
    if [ "$status" = 0 ] && [ "$(head -n 1 <<<"$out")" = "vokalindo $(dpkg-deb -f "$deb" Version)" ]; then
        pass "$which --version: $(head -n 1 <<<"$out")"
    else fail "$which --version: status $status, output: $out $err"; fi
    run_command unknown "$command" --no-such-option
    if [ "$status" = 2 ] && grep -q 'no-such-option' <<<"$err" && [ -z "$out" ]; then
        pass "$which --no-such-option: status 2 and '$(head -n 1 <<<"$err")'"
    else fail "$which --no-such-option: status $status, output: $out $err"; fi
done
# The class report, the word-list tool and the teacher's window: the same three, each help naming the
# tool's own options.
for tool in "$report:--output <FÁJL>" "$lists:--format <FORMÁTUM>" "$teacher:--directory <MAPPA>"; do
    path="${tool%%:*}" option="${tool#*:}" name="$(basename "${tool%%:*}")"
    run_command "$name-help" "$root/$path" --help
    if [ "$status" = 0 ] && grep -q -- "$option" <<<"$out" && grep -q "^Használat: $name" <<<"$out" \
        && [ -z "$err" ]; then pass "/$path --help: status 0, Hungarian help on standard output"
    else fail "/$path --help: status $status, output: $out $err"; fi
    run_command "$name-version" "$root/$path" --version
    if [ "$status" = 0 ] && [ "$(head -n 1 <<<"$out")" = "$name $(dpkg-deb -f "$deb" Version)" ]; then
        pass "/$path --version: $(head -n 1 <<<"$out")"
    else fail "/$path --version: status $status, output: $out $err"; fi
    run_command "$name-unknown" "$root/$path" --no-such-option
    if [ "$status" = 2 ] && grep -q "^$name: .*no-such-option" <<<"$err" && [ -z "$out" ]; then
        pass "/$path --no-such-option: status 2 and '$(head -n 1 <<<"$err")'"
    else fail "/$path --no-such-option: status $status, output: $out $err"; fi
done
# The word-list tool: one list imported, exported and printed from the package.
mkdir -p "$work/lists"
# The list file the window would write for these two pairs: Windows-1250, 0x0E after each field, CR LF.
expected_list="$(printf '1\016bridge\016h\355d\016 \016\r\n2\016space\016\373r, vil\341g\373r\016 \016\r\n' | od -An -tx1)"
printf 'Angol;Magyar;Megjegyzés\r\nbridge;híd;\r\nspace;űr, világűr;\r\n' >"$work/lists/szavak.csv"
if (cd "$work/lists" && env -i PATH="$PATH" LC_ALL=C.UTF-8 "$root/$lists" import szavak.csv >/dev/null 2>&1 \
    && env -i PATH="$PATH" LC_ALL=C.UTF-8 "$root/$lists" export szavak.szo --format tsv --output vissza.tsv 2>&1 \
    && env -i PATH="$PATH" LC_ALL=C.UTF-8 "$root/$lists" print szavak.szo --kind cards --output lapok.pdf 2>&1) \
    && [ "$(od -An -tx1 "$work/lists/szavak.szo")" = "$expected_list" ] \
    && grep -q 'űr, világűr' "$work/lists/vissza.tsv" && head -c 5 "$work/lists/lapok.pdf" | grep -q '%PDF-'; then
    pass "/$lists imports a table into a Windows-1250 list, exports it and prints it"
else fail "/$lists cannot import, export or print a list: $(ls "$work/lists")"; fi
[ ! -e "$work/cli-home/.local" ] && pass "the command line through the launcher made no data directory" ||
    fail "the launcher made $work/cli-home/.local for --help"

# --- A configured start directory -----------------------------------------------------------
# The account's own configuration file stands in for the computer's (the classroom check sets that
# one): the same reader, and the account's file wins.
home="$work/home5"
mkdir -p "$home/.config"
shared_dir="$work/közös mappa"
set_directory() { printf '# a class\n directory = %s \n' "$1" >"$home/.config/vokalindo.conf"; }

# Missing folder, a folder without init.usr, a relative path: a message naming it, status 1, nothing made.
refused() { # WHAT, then the environment for the launcher
    local what="$1"
    shift
    env -i PATH="$PATH" QT_QPA_PLATFORM=offscreen LC_ALL=C.UTF-8 HOME="$home" \
        VOKALINDO_SYSTEM_CONFIG="$work/no-such-system.conf" "$@" timeout 10 "$root/$launcher" </dev/null \
        >"$work/refused.log" 2>&1
    status=$?
}
set_directory "$shared_dir"
refused "missing"
if [ "$status" = 1 ] && grep -qF "$shared_dir" "$work/refused.log" && [ ! -e "$shared_dir" ]; then
    pass "a configured folder that is missing: status 1, '$(head -n 1 "$work/refused.log")', not made"
else fail "a configured folder that is missing: status $status, $(tr '\n' ' ' <"$work/refused.log") $(ls -d "$shared_dir" 2>&1)"; fi
mkdir "$shared_dir"
refused "without init.usr"
if [ "$status" = 1 ] && grep -qF "$shared_dir/init.usr" "$work/refused.log" && [ ! -e "$shared_dir/init.usr" ]; then
    pass "a configured folder without init.usr: status 1, named, init.usr not made"
else fail "a configured folder without init.usr: status $status, $(tr '\n' ' ' <"$work/refused.log")"; fi
set_directory "relative/5a"
refused "relative"
if [ "$status" = 1 ] && grep -q 'relative/5a' "$work/refused.log" && [ ! -e "$home/.local/share/vokalindo" ]; then
    pass "a relative configured folder: status 1, named"
else fail "a relative configured folder: status $status, $(tr '\n' ' ' <"$work/refused.log")"; fi

# A folder that is there: the program runs in it, with the group part of the umask cleared, and the
# account's own data directory is never made. The value may be quoted.
printf 'Anna\r\n' >"$shared_dir/init.usr"
printf 'directory="%s"\n' "$shared_dir" >"$home/.config/vokalindo.conf"
start_launcher HOME="$home"
if wait_for_program; then
    umask_now="$(sed -n 's/^Umask:[[:space:]]*//p' "/proc/$pid/status")"
    if [ "$(readlink -f "/proc/$pid/cwd")" = "$(readlink -f "$shared_dir")" ]; then pass "configured folder: the program runs in it"
    else fail "configured folder: the program runs in $(readlink -f "/proc/$pid/cwd")"; fi
    if (( (8#$umask_now & 070) == 0 )); then pass "configured folder: umask $umask_now leaves files group-writable"
    else fail "configured folder: umask $umask_now"; fi
else
    fail "configured folder: the program is not running: $(tr '\n' ' ' <"$log")"
fi
stop_launcher
[ ! -e "$home/.local/share/vokalindo" ] && pass "configured folder: no data directory of the account's own" ||
    fail "configured folder: $home/.local/share/vokalindo was made"

# The computer's configuration counts when the account has none; here a file of the check's own
# stands in for /etc/vokalindo.conf.
mv "$home/.config/vokalindo.conf" "$work/account.conf"
printf 'directory=%s\n' "$shared_dir" >"$work/system.conf"
start_launcher HOME="$home" VOKALINDO_SYSTEM_CONFIG="$work/system.conf"
if wait_for_program && [ "$(readlink -f "/proc/$pid/cwd")" = "$(readlink -f "$shared_dir")" ]; then
    pass "the computer's configuration: the program runs in its folder"
else fail "the computer's configuration: not followed: $(tr '\n' ' ' <"$log")"; fi
stop_launcher
mv "$work/account.conf" "$home/.config/vokalindo.conf"

# --directory through the launcher: the program starts in that folder, whatever the configuration.
(cd "$work" && exec env -i PATH="$PATH" QT_QPA_PLATFORM=offscreen LC_ALL=C.UTF-8 HOME="$work/cli-home" \
    "$root/$launcher" --directory "$shared_dir") </dev/null >"$work/directory.log" 2>&1 &
pid=$!
started+=("$pid")
log="$work/directory.log"
if wait_for_program && [ "$(readlink -f "/proc/$pid/cwd")" = "$(readlink -f "$shared_dir")" ]; then
    pass "vokalindo --directory: the program runs in that folder"
else fail "vokalindo --directory: the program runs in $(readlink -f "/proc/$pid/cwd" 2>&1): $(tr '\n' ' ' <"$log")"; fi
stop_launcher

# An empty "directory=" in the account's file: the account's own data directory, private as ever.
printf 'directory=\n' >"$home/.config/vokalindo.conf"
start_launcher HOME="$home"
if wait_for_program && [ "$(readlink -f "/proc/$pid/cwd")" = "$(readlink -f "$home/.local/share/vokalindo")" ]; then
    pass "an empty directory= in the account's file: the account's own data directory"
else fail "an empty directory=: the program runs in $(readlink -f "/proc/$pid/cwd" 2>&1): $(tr '\n' ' ' <"$log")"; fi
stop_launcher

finish
