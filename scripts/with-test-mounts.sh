#!/usr/bin/env bash
# Runs a command once on each real mount it makes for the run, as root, in a mount namespace of
# its own, and takes every mount, loop device, server and file away afterwards, also on failure.
#
#   scripts/with-test-mounts.sh KINDS COMMAND [ARGUMENT...]
#
# KINDS is "all" or a comma-separated list of: exfat (exfat-fuse), ntfs (ntfs-3g), sshfs (over an
# sshd of the run's own on loopback), overlay (lower layer on tmpfs, upper on ext4), btrfs, ext4.
# The command gets, for each mount:
#   ZELVORA_MOUNT_KIND     the kind
#   ZELVORA_MOUNT_DIR      a writable folder inside the mount
#   ZELVORA_MOUNT_REMOUNT  a command that unmounts the volume, mounts another volume of the same
#                          kind, then the first again at the same place: its device and inode
#                          numbers change, its entries stay
#   ZELVORA_MOUNT_LOWER    overlay only: ZELVORA_MOUNT_DIR's folder in the lower layer; entries
#                          made there show in the mount, copied up on their first change, once
#                          ZELVORA_MOUNT_REMOUNT has run
#   TMPDIR                 a folder outside the mount, taken away with it
# A mount that can't be made is not left out: the command runs with ZELVORA_MOUNT_SKIP set to
# "<kind>: <reason>" instead, and the reason is printed here too. Exits non-zero when any run of
# the command failed.
set -euo pipefail

all_kinds=(exfat ntfs sshfs overlay btrfs ext4)
script=$(realpath "$0")

say() { echo "with-test-mounts: $*" >&2; }

# Runs a step of making a mount, its output kept in $log; on failure leaves "<what>: <the
# output's last line>" in $reason and fails.
step() {
    local what=$1
    shift
    if ! "$@" >>"$log" 2>&1; then
        reason="$what: $(grep -v '^$' "$log" | tail -n 1)"
        return 1
    fi
}

need() {
    local tool=$1 package=$2
    if ! command -v "$tool" >/dev/null; then
        reason="$tool is missing (Debian: $package)"
        return 1
    fi
}

quote() { printf "'%s'" "${1//\'/\'\\\'\'}"; }

# ---- Volumes. A kind's folder holds: mount/ (the mount point), side/ (where the other volume
# stands during a remount), a/ and b/ (the two volumes), ssh/ (the sshd of sshfs), hold/ (see
# hold_number), tmp/ (the command's TMPDIR) and log.

make_image() { # FOLDER SIZE MKFS...
    local image=$1/image size=$2
    shift 2
    truncate -s "$size" "$image" && "$@" "$image"
}

make_volume() { # KIND FOLDER VOLUME
    local volume=$2/$3
    mkdir -p "$volume"
    case $1 in
        exfat) step "mkfs.exfat failed" make_image "$volume" 32M mkfs.exfat ;;
        ntfs) step "mkntfs failed" make_image "$volume" 32M mkntfs -F -Q ;;
        btrfs) step "mkfs.btrfs failed" make_image "$volume" 128M mkfs.btrfs -q ;;
        ext4) step "mkfs.ext4 failed" make_image "$volume" 32M mkfs.ext4 -q -F ;;
        sshfs) mkdir -p "$volume/served/数据" ;;
        overlay)
            step "mkfs.ext4 failed" make_image "$volume" 32M mkfs.ext4 -q -F || return 1
            mkdir -p "$volume/lower" "$volume/upper"
            step "no tmpfs for the lower layer" mount -t tmpfs -o mode=0755 tmpfs "$volume/lower" \
                || return 1
            mkdir "$volume/lower/数据"
            ;;
    esac
}

# Attaches a loop device to the volume's image; it is never the device `avoid`, so a volume
# mounted again gets a device number of its own.
attach() { # VOLUME [AVOID]
    local device held
    device=$(losetup -f --show "$1/image") || return 1
    if [ "$device" = "${2:-}" ]; then
        held=$device
        device=$(losetup -f --show "$1/image") || return 1
        losetup -d "$held"
    fi
    echo "$device" >"$1/device"
}

mount_volume() { # KIND FOLDER VOLUME MOUNTPOINT
    local volume=$2/$3 at=$4 avoid=""
    [ -e "$volume/device" ] && avoid=$(cat "$volume/device")
    case $1 in
        exfat | ntfs | btrfs | ext4 | overlay)
            step "no loop device" attach "$volume" "$avoid" || return 1
            ;;
    esac
    local device
    device=$(cat "$volume/device" 2>/dev/null || true)
    case $1 in
        exfat) step "exfat-fuse could not mount" mount.exfat-fuse "$device" "$at" ;;
        ntfs) step "ntfs-3g could not mount" ntfs-3g "$device" "$at" ;;
        btrfs | ext4) step "$1 could not mount" mount -t "$1" "$device" "$at" ;;
        overlay)
            step "ext4 could not mount" mount -t ext4 "$device" "$volume/upper" || return 1
            mkdir -p "$volume/upper/upper" "$volume/upper/work"
            # redirect_dir lets a folder of the lower layer be renamed, as files are.
            local layers="lowerdir=$volume/lower,upperdir=$volume/upper/upper"
            step "overlay could not mount" mount -t overlay overlay \
                -o "$layers,workdir=$volume/upper/work,redirect_dir=on" "$at"
            ;;
        sshfs)
            local ssh=$2/ssh
            local options="IdentityFile=$ssh/client_key,StrictHostKeyChecking=no"
            options+=",UserKnownHostsFile=/dev/null,BatchMode=yes,port=$(cat "$ssh/port")"
            step "sshfs could not mount" sshfs -o "$options" "$(id -un)@127.0.0.1:$volume/served" "$at"
            ;;
    esac
}

# Waits until nothing holds the loop device (a FUSE driver closes it once it has written all
# out), then frees it.
detach() { # VOLUME
    local device
    device=$(cat "$1/device" 2>/dev/null) || return 0
    losetup -d "$device" 2>/dev/null || true
    for _ in $(seq 100); do
        [ -z "$(losetup -n -O NAME -j "$1/image")" ] && return 0
        sleep 0.05
    done
    reason="$device is still held after the unmount"
    return 1
}

unmount_volume() { # KIND FOLDER VOLUME MOUNTPOINT
    local volume=$2/$3
    step "could not unmount $4" umount "$4" || return 1
    case $1 in
        overlay) step "could not unmount the upper layer" umount "$volume/upper" && detach "$volume" ;;
        exfat | ntfs | btrfs | ext4) detach "$volume" ;;
    esac
}

# The numbers of mounts without a device of their own (FUSE, overlay, btrfs) are handed out
# lowest first, so a volume unmounted and mounted again would get its old one back: small tmpfs
# mounts take the free numbers up to it while it is mounted again.
hold_number() { # MAJOR MINOR FOLDER
    [ "$1" -eq 0 ] || return 0 # a block device's: attach never hands it out again
    for n in $(seq 64); do
        mkdir -p "$3/$n"
        step "no tmpfs to hold device numbers" mount -t tmpfs -o size=4k tmpfs "$3/$n" || return 1
        [ "$(stat -c %Ld "$3/$n")" -lt "$2" ] || return 0
    done
}

remount() { # KIND FOLDER
    local kind=$1 folder=$2 before after major minor
    log=$folder/log
    before=$(stat -c %d "$folder/mount")
    read -r major minor < <(stat -c '%Hd %Ld' "$folder/mount")
    if ! { unmount_volume "$kind" "$folder" a "$folder/mount" \
        && hold_number "$major" "$minor" "$folder/hold" \
        && mount_volume "$kind" "$folder" b "$folder/side" \
        && mount_volume "$kind" "$folder" a "$folder/mount" \
        && unmount_volume "$kind" "$folder" b "$folder/side"; }; then
        say "$kind: remount failed: $reason"
        return 1
    fi
    mounts_below "$folder/hold" | while read -r held; do umount "$held"; done
    after=$(stat -c %d "$folder/mount")
    # Another mount made meanwhile (ctest runs tests side by side) may have taken the number
    # held: the undo must hold either way, as an sshfs remount reuses its number anyway.
    if [ "$before" = "$after" ]; then
        say "$kind: the volume came back with the same device number $before"
    fi
}

# ---- The sshd of sshfs: loopback only, its own keys and configuration, a free port.

start_sshd() { # FOLDER
    local ssh=$1/ssh sshd port
    sshd=$(command -v sshd)
    mkdir -p "$ssh"
    for key in host_key client_key; do
        step "ssh-keygen failed" ssh-keygen -q -t ed25519 -N "" -f "$ssh/$key" || return 1
    done
    cp "$ssh/client_key.pub" "$ssh/authorized_keys"
    for _ in 1 2 3; do
        port=$((20000 + RANDOM % 40000))
        listens "$port" && continue
        echo "$port" >"$ssh/port"
        printf '%s\n' "ListenAddress 127.0.0.1" "Port $port" "HostKey $ssh/host_key" \
            "AuthorizedKeysFile $ssh/authorized_keys" "AuthenticationMethods publickey" \
            "PermitRootLogin prohibit-password" "PidFile none" "StrictModes no" "UsePAM no" \
            "Subsystem sftp internal-sftp" >"$ssh/sshd_config"
        run_sshd "$sshd" "$ssh/sshd_config" >>"$1/log" 2>&1 &
        echo $! >"$ssh/pid"
        for _ in $(seq 100); do
            listens "$port" && return 0
            kill -0 "$(cat "$ssh/pid")" 2>/dev/null || break
            sleep 0.05
        done
    done
    reason="sshd did not start: $(grep -v '^$' "$1/log" | tail -n 1)"
    return 1
}

listens() { (exec 3<>"/dev/tcp/127.0.0.1/$1") 2>/dev/null; }

# As root, sshd wants /run/sshd, which only a running system sshd makes: it then gets a private
# /run in a mount namespace of its own. unshare and sh exec, so the pid stays the sshd's.
run_sshd() { # SSHD CONFIG
    if [ "$(id -u)" -ne 0 ] || [ -d /run/sshd ]; then
        exec "$1" -D -e -f "$2"
    fi
    # shellcheck disable=SC2016 # expanded by the inner shell
    exec unshare --mount --propagation private sh -c \
        'mount -t tmpfs -o mode=0755 tmpfs /run && mkdir /run/sshd && exec "$0" -D -e -f "$1"' \
        "$1" "$2"
}

# ---- One kind: why it can't be had, making it, taking it away.

usable() { # KIND
    [ "$(id -u)" -eq 0 ] || { reason="not root: making mounts needs root"; return 1; }
    case $1 in
        exfat | ntfs | sshfs)
            if ! [ -r /dev/fuse ] || ! [ -w /dev/fuse ]; then
                reason="no FUSE: /dev/fuse is unusable"
                return 1
            fi
            ;;
    esac
    case $1 in
        exfat) need mkfs.exfat exfatprogs && need mount.exfat-fuse exfat-fuse \
            && need losetup util-linux ;;
        ntfs) need mkntfs ntfs-3g && need ntfs-3g ntfs-3g && need losetup util-linux ;;
        sshfs) need sshfs sshfs && need sshd openssh-server && need ssh-keygen openssh-client \
            && need unshare util-linux ;;
        btrfs) need mkfs.btrfs btrfs-progs && need losetup util-linux ;;
        ext4 | overlay) need mkfs.ext4 e2fsprogs && need losetup util-linux ;;
        *) reason="unknown kind (one of: ${all_kinds[*]})"; return 1 ;;
    esac
}

make_mount() { # KIND FOLDER
    local kind=$1 folder=$2
    log=$folder/log
    mkdir -p "$folder/mount" "$folder/side"
    if [ "$kind" = sshfs ]; then start_sshd "$folder" || return 1; fi
    make_volume "$kind" "$folder" a && make_volume "$kind" "$folder" b \
        && mount_volume "$kind" "$folder" a "$folder/mount" || return 1
    case $kind in
        overlay | sshfs) ;;
        *) mkdir -p "$folder/mount/数据" ;;
    esac
}

mounts_below() { # FOLDER: the mounts below it, newest first
    findmnt -rn -o TARGET | { grep -F "$1/" || true; } | tac
}

# Takes away everything below FOLDER: mounts newest first, loop devices, the sshd, the files.
clean_up() { # FOLDER
    local target image
    [ -d "$1" ] || return 0
    mounts_below "$1" | while read -r target; do
        umount "$target" 2>/dev/null || umount -l "$target" || true
    done
    for image in "$1"/*/image "$1"/*/*/image; do
        [ -e "$image" ] || continue
        losetup -n -O NAME -j "$image" | while read -r device; do losetup -d "$device" || true; done
    done
    for pid in "$1"/ssh/pid "$1"/*/ssh/pid; do
        if [ -e "$pid" ]; then kill "$(cat "$pid")" 2>/dev/null || true; fi
    done
    rm -rf --one-file-system "$1"
}

# Runs the command in the background, so a signal to this script is heard at once: the command
# is then ended and everything taken away.
run() {
    "$@" &
    command_pid=$!
    local status=0
    wait "$command_pid" || status=$?
    command_pid=""
    return "$status"
}

run_on() { # KIND COMMAND...
    local kind=$1 folder=$base/$1 reason="" status=0
    shift
    mkdir -p "$folder"
    if ! usable "$kind" || ! make_mount "$kind" "$folder"; then
        say "skipping $kind: $reason"
        run env ZELVORA_MOUNT_SKIP="$kind: $reason" "$@" || status=$?
    else
        mkdir "$folder/tmp"
        local environment=(TMPDIR="$folder/tmp" ZELVORA_MOUNT_KIND="$kind"
            ZELVORA_MOUNT_DIR="$folder/mount/数据"
            ZELVORA_MOUNT_REMOUNT="$(quote "$script") --remount $kind $(quote "$folder")")
        [ "$kind" = overlay ] && environment+=(ZELVORA_MOUNT_LOWER="$folder/a/lower/数据")
        say "$kind: running $*"
        run env "${environment[@]}" "$@" || status=$?
    fi
    clean_up "$folder"
    return "$status"
}

if [ "${1:-}" = --remount ] && [ $# -eq 3 ]; then
    remount "$2" "$3"
    exit
fi
if [ $# -lt 2 ]; then
    echo "usage: $0 all|KIND[,KIND...] COMMAND [ARGUMENT...]   (kinds: ${all_kinds[*]})" >&2
    exit 2
fi
# A private mount namespace, where the system grants one: no mount of the run is seen outside it.
if [ "$(id -u)" -eq 0 ] && [ -z "${ZELVORA_MOUNT_NAMESPACE:-}" ] \
    && unshare --mount --propagation private true 2>/dev/null; then
    exec env ZELVORA_MOUNT_NAMESPACE=1 unshare --mount --propagation private "$script" "$@"
fi

kinds=("${all_kinds[@]}")
[ "$1" = all ] || IFS=, read -r -a kinds <<<"$1"
shift
base=$(mktemp -d "${TMPDIR:-/tmp}/zelvora-mounts.XXXXXX")
command_pid=""
trap 'clean_up "$base"' EXIT
trap '[ -z "$command_pid" ] || { kill "$command_pid"; wait "$command_pid"; }; exit 130' INT TERM
failed=()
for kind in "${kinds[@]}"; do
    run_on "$kind" "$@" || failed+=("$kind")
done
if [ ${#failed[@]} -gt 0 ]; then
    say "the command failed on: ${failed[*]}"
    exit 1
fi
