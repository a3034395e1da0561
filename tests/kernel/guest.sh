#!/bin/bash
# Runs inside the test machine (started by the initramfs' first process, which powers off when
# it ends): starts udevd and the uhid units, runs the cases of cases.sh and writes the verdict
# to the work folder. Argument: the work folder (read-write; the rest of the root is read-only).
work=$1
export PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin
here=$(dirname "$(readlink -f "${BASH_SOURCE[0]}")")
root=$(cd "$here/../.." && pwd)

# A step that fails before the cases run: the reason goes to the verdict and to the console
# (the verdict may be what cannot be written).
failed() {
  echo "guest failed: $*" >&2
  echo "$*" >"$work/result" 2>/dev/null
  exit 1
}

: >"$work/udevd.log" 2>/dev/null || failed "the work folder $work cannot be written"

# What the init system would make in /dev.
ln -s /proc/self/fd /dev/fd
ln -s /proc/self/fd/0 /dev/stdin
ln -s /proc/self/fd/1 /dev/stdout
ln -s /proc/self/fd/2 /dev/stderr
mkdir -p /dev/pts /dev/shm
mount -t devpts devpts /dev/pts || failed "devpts did not mount"
mount -t tmpfs shm /dev/shm || failed "no tmpfs on /dev/shm"

# /tmp is the guest's own (a tmpfs the initramfs mounted); programs keep the rest under /run.
mkdir -p /run/home /run/user/0 && chmod 0700 /run/user/0
export HOME=/run/home XDG_RUNTIME_DIR=/run/user/0 TMPDIR=/tmp LANG=C.UTF-8
hostname quillo-test

/lib/systemd/systemd-udevd --daemon 2>"$work/udevd.log" || failed "udevd did not start"
udevadm trigger --action=add >/dev/null 2>&1
udevadm settle

source "$here/cases.sh" || failed "cases.sh could not be read"
run_cases "$work" "$root"
