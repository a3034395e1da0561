#!/bin/bash
# Runs inside the test machine as its first program (after the initramfs): starts udevd and
# the uhid units, runs the cases of cases.sh, writes the verdict to the work folder and powers
# off. Argument: the work folder (read-write; the rest of the root is read-only).
work=$1
export PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin
here=$(dirname "$(readlink -f "${BASH_SOURCE[0]}")")
root=$(cd "$here/../.." && pwd)
poweroff_now() {
  [ "$BASHPID" = 1 ] || return 0 # never from a subshell
  sync
  echo o >/proc/sysrq-trigger
  sleep 30
}
trap poweroff_now EXIT

# What the init system would make in /dev.
ln -s /proc/self/fd /dev/fd
ln -s /proc/self/fd/0 /dev/stdin
ln -s /proc/self/fd/1 /dev/stdout
ln -s /proc/self/fd/2 /dev/stderr
mkdir -p /dev/pts /dev/shm
mount -t devpts devpts /dev/pts
mount -t tmpfs shm /dev/shm

# The machine's /tmp is read-only here; the programs get their own.
mount -t tmpfs tmp /tmp
mkdir -p /run/home /run/user/0 && chmod 0700 /run/user/0
export HOME=/run/home XDG_RUNTIME_DIR=/run/user/0 TMPDIR=/tmp LANG=C.UTF-8
hostname quillo-test

/lib/systemd/systemd-udevd --daemon 2>"$work/udevd.log" || {
  echo "udevd did not start" >"$work/result"
  exit
}
udevadm trigger --action=add >/dev/null 2>&1
udevadm settle

source "$here/cases.sh"
run_cases "$work" "$root"
sync
