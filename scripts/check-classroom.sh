#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks the package as a school's administrator sets it up for a class: it is installed on this computer (as
# root, as CI runs), two accounts are made in one group, the shared folder is made as the README says and set for
# the computer in /etc/vokalindo.conf. Then, under Xvfb, each account in turn starts "vokalindo" and uses the
# learner, the list and the log that the other made (tests/real_display/classroom.sh). Afterwards every file in the
# folder belongs to the class's group and both accounts can read and write it.
#
#   bash scripts/check-classroom.sh path/to/vokalindo_VERSION_ARCH.deb
#
# The machine's own /etc/vokalindo.conf is put back when the check ends; the package, the group and the two
# accounts stay, and a later run uses them again.
set -uo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

source "$(dirname "${BASH_SOURCE[0]}")/check-tally.sh"

deb="${1:-}"
if [ -z "$deb" ] || [ ! -f "$deb" ]; then
    fail "no package to check: usage: $0 path/to/vokalindo_VERSION_ARCH.deb"
    finish
fi
deb="$(readlink -f "$deb")"
if [ "$(id -u)" -ne 0 ]; then
    fail "the check installs the package and makes accounts: run it as root"
    finish
fi
bash "$root/scripts/install-dependencies.sh" test package || { fail "Xvfb and xdotool could not be installed"; finish; }

group=vokalindo-5a
accounts=(vokalindo-anna vokalindo-bela)
config=/etc/vokalindo.conf
marker="# Written by scripts/check-classroom.sh, and put back when it ends."

work="$(mktemp -d /tmp/vokalindo-classroom.XXXXXX)"
saved=""
# A configuration that a killed run left behind is dropped; the machine's own is kept aside and put back.
if [ -e "$config" ]; then
    if grep -qxF "$marker" "$config"; then
        rm -f "$config"
    else
        saved="$work/vokalindo.conf.saved"
        cp -p "$config" "$saved"
    fi
fi
outsider=vokalindo-vendeg
put_back() {
    if [ -n "$saved" ]; then cp -p "$saved" "$config"; else rm -f "$config"; fi
    userdel --remove "$outsider" 2>/dev/null || true
    rm -rf "$work"
}
trap put_back EXIT

# --- The administrator's part ---------------------------------------------------------------------

if apt-get install -y -qq --reinstall -o DPkg::Lock::Timeout=300 "$deb" >"$work/apt.log" 2>&1; then
    pass "apt-get installed $(basename "$deb") with its dependencies"
else
    fail "apt-get could not install the package: $(tail -n 5 "$work/apt.log" | tr '\n' ' ')"
    finish
fi

getent group "$group" >/dev/null || groupadd "$group"
for account in "${accounts[@]}"; do
    getent passwd "$account" >/dev/null || useradd --create-home --shell /usr/sbin/nologin "$account"
    usermod -a -G "$group" "$account"
done
if id -nG "${accounts[0]}" | grep -qw "$group" && id -nG "${accounts[1]}" | grep -qw "$group"; then
    pass "accounts ${accounts[*]} are in the group $group"
else fail "accounts not in $group: $(id "${accounts[0]}") $(id "${accounts[1]}")"; fi

# The folder as the README makes it: the class's group, set-group-ID, sticky, no one else; an empty list
# of names; the lock's directory, root's.
chmod 755 "$work"
shared="$work/5a"
install -d -m 3770 -g "$group" "$shared"
install -m 0660 -g "$group" /dev/null "$shared/init.usr"
install -d -m 2770 -g "$group" "$shared/.vokalindo-lock"
printf '%s\n%s\n' "$marker" "directory=$shared" >"$config"
chmod 644 "$config"

# --- The two accounts, by real X events -----------------------------------------------------------

# Xvfb with its access control off, so that the accounts' programs reach the display that root drives.
if timeout 300 xvfb-run -a -s "-screen 0 1024x768x24 -ac" \
        bash "$root/tests/real_display/classroom.sh" "$shared" "${accounts[@]}" >"$work/classroom.log" 2>&1; then
    pass "$(tail -n 1 "$work/classroom.log")"
else
    fail "the two accounts' journey: $(tail -n 5 "$work/classroom.log" | tr '\n' ' ')"
fi

# --- What the folder holds afterwards -------------------------------------------------------------

learner_dir="$shared/Tóth Réka"
for made in "$learner_dir" "$learner_dir/Tóth Réka.log" "$learner_dir/szavak.szo"; do
    if [ "$(stat -c %U "$made" 2>/dev/null)" = "${accounts[0]}" ]; then pass "${made#"$shared/"} was made by ${accounts[0]}"
    else fail "${made#"$shared/"}: owner $(stat -c %U "$made" 2>&1)"; fi
done

entries=0
unusable=""
while IFS= read -r -d '' entry; do
    entries=$((entries + 1))
    name="${entry#"$shared/"}"
    mode="$(stat -c %a "$entry")"
    [ "$(stat -c %G "$entry")" = "$group" ] || unusable+=" $name(group $(stat -c %G "$entry"))"
    if [ -d "$entry" ]; then
        (( (8#$mode & 02070) == 02070 )) || unusable+=" $name(mode $mode)"
        tests=(-r -w -x)
    else
        (( (8#$mode & 060) == 060 )) || unusable+=" $name(mode $mode)"
        tests=(-r -w)
    fi
    for account in "${accounts[@]}"; do
        for t in "${tests[@]}"; do
            runuser -u "$account" -- test "$t" "$entry" || unusable+=" $name(not $t for $account)"
        done
    done
done < <(find "$shared" -mindepth 1 -print0)
# Sticky: the other account may use the learner's directory, but not rename or delete it, nor init.usr.
if [ "$(stat -c %a "$shared")" = 3770 ] \
    && ! runuser -u "${accounts[1]}" -- mv "$learner_dir" "$shared/elvitt" 2>/dev/null \
    && ! runuser -u "${accounts[1]}" -- rm -f "$shared/init.usr" 2>/dev/null \
    && [ -d "$learner_dir" ] && [ -f "$shared/init.usr" ]; then
    pass "the folder is 3770: ${accounts[1]} can neither rename ${accounts[0]}'s directory nor remove init.usr"
else fail "the sticky folder let ${accounts[1]} move or remove another's entry (mode $(stat -c %a "$shared"))"; fi

# An account outside the class's group is told why the report cannot read the list of names.
getent passwd "$outsider" >/dev/null || useradd --create-home --shell /usr/sbin/nologin "$outsider"
said="$(cd / && runuser -u "$outsider" -- env LC_ALL=C.UTF-8 vokalindo-report -d "$shared" -o /tmp/vokalindo-vendeg.html 2>&1)"
ended=$?
if [ "$ended" = 1 ] && [[ "$said" == *"nincs hozzá jogosultság"*"osztály csoportjában"* ]]; then
    pass "an account outside $group is told that it is not in the class's group"
else fail "an account outside $group: status $ended, $said"; fi
rm -f /tmp/vokalindo-vendeg.html

if [ "$entries" -ge 4 ] && [ -z "$unusable" ]; then
    pass "all $entries entries of the shared folder belong to $group, group-writable, usable by both accounts"
else fail "shared folder ($entries entries):$unusable"; fi

finish
