#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Two classroom computers on one network share, over two kinds of share: a directory served by an
# sshd of this test's own on 127.0.0.1 and mounted twice with sshfs, and one served by a samba of its
# own and mounted twice with smbnetfs (libsmbclient under FUSE, the library GNOME's gvfs uses for
# SMB). Copies of the window work at once through both mounts of each; the files are checked on the
# server's side. Never passes without having run through both shares.
#
#   network_share.sh PATH/TO/test_stress_files
set -euo pipefail
tests="${1:?usage: network_share.sh PATH/TO/test_stress_files}"

fail() {
    echo "network_share: FAIL: $*" >&2
    status=1
    exit 1
}

work="$(mktemp -d "${TMPDIR:-/tmp}/network-share.XXXXXX")"
sshd_pid=""
smbd_pid=""
status=0
# On a failure the servers' and the mounts' logs are kept beside the test program, for whoever looks
# into it; NETWORK_SHARE_LOGS names another place.
keep_logs() {
    local kept="${NETWORK_SHARE_LOGS:-$(dirname "$tests")/network-share-logs}/$(date +%Y%m%d-%H%M%S)-$$"
    mkdir -p "$kept" || return 0
    cp "$work"/*.log "$work/smb"/*.log "$work/smb"/*.out "$kept/" 2>/dev/null || true
    echo "network_share: the servers' and the mounts' logs are kept in $kept" >&2
}
cleanup() {
    local ended=$?
    if [[ "$ended" != 0 || "$status" != 0 ]]; then keep_logs; fi
    for mount in "$work/a" "$work/b" "$work/c" "$work/d"; do
        if mountpoint -q "$mount" 2>/dev/null; then
            fusermount3 -u "$mount" 2>/dev/null || fusermount3 -u -z "$mount" 2>/dev/null || true
        fi
    done
    # smbd may linger over its connections' children: five seconds, then it is killed.
    for pid in "$sshd_pid" "$smbd_pid"; do
        [[ -n "$pid" ]] || continue
        kill "$pid" 2>/dev/null || true
        for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
        kill -9 "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
    rm -rf "$work"
}
trap cleanup EXIT

for tool in /usr/sbin/sshd sshfs fusermount3 ssh-keygen mountpoint /usr/sbin/smbd smbpasswd smbclient smbnetfs; do
    command -v "$tool" >/dev/null || fail "$tool is not installed (the test group of scripts/install-dependencies.sh)"
done
[[ -c /dev/fuse ]] || fail "/dev/fuse is missing: FUSE mounts are impossible here"
[[ -x "$tests" ]] || fail "$tests is not built"

# Waits up to ten seconds for the server just started as process PID to pass the check that
# follows; one that dies or never passes is stopped.
answers() {
    local pid="$1"
    shift
    for _ in $(seq 100); do
        "$@" >/dev/null 2>&1 && return 0
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    return 1
}

# Starts a server with START PORT (start_sshd, start_smbd) on one of five random ports other than
# AVOID; the port it took is left in started_port.
start_on_a_free_port() {
    local start="$1" avoid="${2:-}" candidate
    started_port=""
    for _ in 1 2 3 4 5; do
        candidate=$((20000 + RANDOM % 40000))
        if [[ "$candidate" != "$avoid" ]] && "$start" "$candidate"; then
            started_port="$candidate"
            return 0
        fi
    done
    return 1
}

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
    answers "$sshd_pid" grep -q "Server listening on 127.0.0.1 port $port" "$work/sshd.log" || { sshd_pid=""; return 1; }
}

start_on_a_free_port start_sshd || fail "sshd did not start: $(tail -n 3 "$work/sshd.log" | tr '\n' ' ')"
port="$started_port"

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

# The second server: samba on 127.0.0.1 with a configuration, state, locks and password database of
# its own (no system service), on a port of its own, which libsmbclient takes from the path: smbnetfs
# shows the share as MOUNT/127.0.0.1:PORT/klass.
smb="$work/smb"
mkdir -p "$smb/share" "$smb/state" "$smb/lock" "$smb/pid" "$smb/private" "$smb/cache" "$work/c" "$work/d"
start_smbd() {
    local port="$1"
    cat >"$smb/smb.conf" <<EOF
[global]
server role = standalone server
interfaces = 127.0.0.1
bind interfaces only = yes
smb ports = $port
disable netbios = yes
state directory = $smb/state
lock directory = $smb/lock
pid directory = $smb/pid
private dir = $smb/private
cache directory = $smb/cache
ncalrpc dir = $smb/state/ncalrpc
passdb backend = tdbsam:$smb/private/passdb.tdb
log file = $smb/smbd.log
load printers = no
printcap name = /dev/null
disable spoolss = yes
[klass]
path = $smb/share
read only = no
EOF
    printf 'jelszo\njelszo\n' | smbpasswd -c "$smb/smb.conf" -s -a "$(id -un)" >/dev/null || return 1
    # A session of its own: on its way out smbd signals its whole process group.
    setsid /usr/sbin/smbd --foreground --no-process-group -s "$smb/smb.conf" </dev/null >>"$smb/smbd.out" 2>&1 &
    smbd_pid=$!
    answers "$smbd_pid" smbclient -s "$smb/smb.conf" -p "$port" -U "$(id -un)%jelszo" //127.0.0.1/klass -c ls \
        || { smbd_pid=""; return 1; }
}
start_on_a_free_port start_smbd "$port" \
    || fail "smbd did not start: $(tail -n 3 "$smb/smbd.out" "$smb/smbd.log" 2>&1 | tr '\n' ' ')"
smb_port="$started_port"

# Each computer has its own smbnetfs with its own client configuration.
for computer in c d; do
    mkdir -p "$work/$computer-home/.smb"
    printf '[global]\nclient min protocol = SMB2\n' >"$work/$computer-home/.smb/smb.conf"
    printf 'auth "%s" "jelszo"\nsmb_query_browsers "false"\n' "$(id -un)" >"$work/$computer-home/.smb/smbnetfs.conf"
    chmod 600 "$work/$computer-home/.smb/smbnetfs.conf"
    HOME="$work/$computer-home" smbnetfs "$work/$computer" -o "config=$work/$computer-home/.smb/smbnetfs.conf" \
        -o "log_file=$work/smbnetfs-$computer.log,smbnetfs_debug=1" \
        || fail "smbnetfs refused to mount $work/$computer"
    mountpoint -q "$work/$computer" || fail "$work/$computer is not a mount point after smbnetfs"
done
smb_c="$work/c/127.0.0.1:$smb_port/klass"
smb_d="$work/d/127.0.0.1:$smb_port/klass"
echo seen >"$smb/share/probe"
for mount in "$smb_c" "$smb_d"; do
    [[ "$(cat "$mount/probe" 2>/dev/null)" == seen ]] || fail "$mount does not show the shared directory"
done
rm "$smb/share/probe"
echo "network_share: smbd on 127.0.0.1:$smb_port, $smb/share mounted at $smb_c and $smb_d"

# On each share, copies on the two mounts in turn (0: the first, 1: the second, 2: the first); the
# checks read the server's side. Then a shorter round of kills through one mount: a write cut short
# there leaves what it leaves.
# A failure names the share and the case (QtTest's row); the operation and the system error behind
# it are in the test's findings.
export QT_QPA_PLATFORM=offscreen
for share in "sshfs $work/share $work/a|$work/b" "smbnetfs $smb/share $smb_c|$smb_d"; do
    read -r kind server mounts <<<"$share"
    echo "network_share: through $kind"
    STRESS_SHARE="$server" STRESS_MOUNTS="$mounts" "$tests" copiesAtOnce savesInTurn \
        || { echo "network_share: FAIL through $kind: copies at once or saves in turn (the rows above)" >&2; status=1; }
    STRESS_SHARE="$server" STRESS_MOUNTS="$mounts" STRESS_KILLS="${STRESS_SHARE_KILLS:-60}" \
        "$tests" killedAtRandomMoments \
        || { echo "network_share: FAIL through $kind: copies killed at random moments" >&2; status=1; }
done

# A share that does not answer for a moment is not a missing folder: after an append opened
# write-only, which it cannot do, smbnetfs gives I/O errors for a few seconds. A copy starting then
# waits it out, or, should it last longer than the copy's patience, is told that the folder cannot
# be reached and to try again.
mkdir "$smb/share/pause"
: >"$smb/share/pause/init.usr"
(echo x >>"$smb_c/pause/probe") 2>/dev/null || true
said="$("$(dirname "$tests")/drive_window" "$smb_c/pause" 2>/dev/null || true)"
echo "network_share: a copy started while the share does not answer: $said"
[[ "$said" == ready || "$said" == *"nem érhető el"* ]] \
    || { echo "network_share: FAIL through smbnetfs: a share that does not answer, told otherwise" >&2; status=1; }
exit "$status"
