#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Two classroom computers on one network share: a directory served by an sshd of this test's own on
# 127.0.0.1 and mounted twice with sshfs. Copies of the window work at once through both mounts;
# the files are checked on the server's side. Never passes without having run through the share.
#
#   network_share.sh PATH/TO/test_stress_files
set -euo pipefail
tests="${1:?usage: network_share.sh PATH/TO/test_stress_files}"

fail() {
    echo "network_share: FAIL: $*" >&2
    exit 1
}

work="$(mktemp -d "${TMPDIR:-/tmp}/network-share.XXXXXX")"
sshd_pid=""
cleanup() {
    for mount in "$work/a" "$work/b"; do
        if mountpoint -q "$mount" 2>/dev/null; then
            fusermount3 -u "$mount" 2>/dev/null || fusermount3 -u -z "$mount" 2>/dev/null || true
        fi
    done
    if [[ -n "$sshd_pid" ]]; then
        kill "$sshd_pid" 2>/dev/null || true
        wait "$sshd_pid" 2>/dev/null || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT

for tool in /usr/sbin/sshd sshfs fusermount3 ssh-keygen mountpoint; do
    command -v "$tool" >/dev/null || fail "$tool is not installed (the test group of scripts/install-dependencies.sh)"
done
[[ -c /dev/fuse ]] || fail "/dev/fuse is missing: FUSE mounts are impossible here"
[[ -x "$tests" ]] || fail "$tests is not built"

# The server: its own host key, one authorized key made for this run, no PAM, no passwords.
# sshd's privilege separation directory, which it wants when run as root.
mkdir -p /run/sshd 2>/dev/null || [[ "$(id -u)" != 0 ]] || fail "cannot make /run/sshd"
ssh-keygen -q -t ed25519 -N '' -f "$work/host_key"
ssh-keygen -q -t ed25519 -N '' -f "$work/client_key"
cp "$work/client_key.pub" "$work/authorized_keys"
mkdir "$work/share" "$work/a" "$work/b"

start_sshd() {
    local port="$1"
    cat >"$work/sshd_config" <<EOF
Port $port
ListenAddress 127.0.0.1
HostKey $work/host_key
AuthorizedKeysFile $work/authorized_keys
PermitRootLogin prohibit-password
AllowUsers $(id -un)
PubkeyAuthentication yes
PasswordAuthentication no
KbdInteractiveAuthentication no
UsePAM no
StrictModes no
Subsystem sftp internal-sftp
PidFile none
EOF
    : >"$work/sshd.log"
    /usr/sbin/sshd -D -f "$work/sshd_config" -E "$work/sshd.log" &
    sshd_pid=$!
    for _ in $(seq 100); do
        grep -q "Server listening on 127.0.0.1 port $port" "$work/sshd.log" && return 0
        kill -0 "$sshd_pid" 2>/dev/null || break
        sleep 0.05
    done
    kill "$sshd_pid" 2>/dev/null || true
    wait "$sshd_pid" 2>/dev/null || true
    sshd_pid=""
    return 1
}

port=""
for _ in 1 2 3 4 5; do
    candidate=$((20000 + RANDOM % 40000))
    if start_sshd "$candidate"; then
        port="$candidate"
        break
    fi
done
[[ -n "$port" ]] || fail "sshd did not start: $(tail -n 3 "$work/sshd.log" | tr '\n' ' ')"

# Two mounts of the one directory: two computers.
for mount in "$work/a" "$work/b"; do
    sshfs -o "IdentityFile=$work/client_key,StrictHostKeyChecking=no,UserKnownHostsFile=/dev/null,BatchMode=yes" \
        -o "port=$port,LogLevel=ERROR" "$(id -un)@127.0.0.1:$work/share" "$mount" \
        || fail "sshfs refused to mount $mount: $(tail -n 3 "$work/sshd.log" | tr '\n' ' ')"
    mountpoint -q "$mount" || fail "$mount is not a mount point after sshfs"
done
echo seen >"$work/share/probe"
for mount in "$work/a" "$work/b"; do
    [[ "$(cat "$mount/probe" 2>/dev/null)" == seen ]] || fail "$mount does not show the shared directory"
done
rm "$work/share/probe"
echo "network_share: sshd on 127.0.0.1:$port, $work/share mounted at $work/a and $work/b"

# Copies on the two mounts in turn (0: a, 1: b, 2: a); the checks read the server's side. Then a
# shorter round of kills through one mount: a write cut short there leaves what it leaves.
export STRESS_SHARE="$work/share" STRESS_MOUNTS="$work/a:$work/b" QT_QPA_PLATFORM=offscreen
status=0
"$tests" copiesAtOnce savesInTurn || status=1
STRESS_KILLS="${STRESS_SHARE_KILLS:-60}" "$tests" killedAtRandomMoments || status=1
exit "$status"
