# shellcheck shell=bash
# shellcheck disable=SC2154 # case_dir, bin, root, uhid_log: set by cases.sh' run_cases
# The window's writes and faults on the kernel's HID stack: the Linux window runs under Xvfb
# with a session bus and the accessibility bus, and tests/kernel/window_driver.py drives it
# through AT-SPI as a user with a screen reader would. Each case runs the same steps against
# the window on a uhid unit and against the window on the simulator, then compares the bytes
# each way, section by section (the status poll aside, whose count follows the clock), and
# checks that every report written reached the unit as written. Sourced by cases.sh.

# The display, the session bus and the accessibility bus, started once for all the cases.
gui_session() {
  local dir=/run/quillo-gui
  if [ ! -f $dir/env ]; then
    mkdir -p $dir
    Xvfb :26 -screen 0 1024x768x24 -nolisten tcp -r >$dir/xvfb.log 2>&1 &
    for _ in $(seq 300); do [ -S /tmp/.X11-unix/X26 ] && break; sleep 0.1; done
    [ -S /tmp/.X11-unix/X26 ] || fail "Xvfb did not start: $(cat $dir/xvfb.log)"
    local address
    address=$(dbus-daemon --session --fork --print-address=1) || fail "no session bus"
    DBUS_SESSION_BUS_ADDRESS=$address /usr/libexec/at-spi-bus-launcher --launch-immediately \
      >$dir/atspi.log 2>&1 &
    printf 'export DISPLAY=:26 DBUS_SESSION_BUS_ADDRESS=%q\n' "$address" >$dir/env
  fi
  # shellcheck source=/dev/null
  source $dir/env
}

# Runs the window (on the uhid units, or on the simulated units $3), lets the driver take the
# steps in file $2, and ends the window: <tag>.trace, .trace.sections, .out and .driver in the
# case's folder. Fails when the driver fails or the window ended on its own.
gui_run() {
  local tag=$1 steps=$2 sim=${3:-} side=kernel pid st=0 start=$SECONDS
  [ -z "$sim" ] || side=sim
  gui_session
  local trace=$case_dir/$tag.trace
  rm -f "$trace" "$trace.sections"
  [ "$side" = sim ] || mark
  env ${sim:+QUILLO_SIMULATE=$sim} QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_ACCESSIBILITY=1 \
    QUILLO_MESSAGE_BOXES=stderr QUILLO_TRACE="$trace" XDG_CONFIG_HOME="/run/quillo-gui/$tag" \
    "$bin/src/app/quillo-config" >"$case_dir/$tag.out" 2>&1 &
  pid=$!
  QUILLO_TRACE=$trace QUILLO_UHID_CMD=/run/uhid.cmd QUILLO_UHID_LOG=$uhid_log \
    timeout 400 /usr/bin/python3 "$root/tests/kernel/window_driver.py" "$steps" "$side" \
    >"$case_dir/$tag.driver" 2>&1 || st=$?
  sed 's/^/  /' "$case_dir/$tag.driver"
  if ! kill -0 "$pid" 2>/dev/null; then
    cat "$case_dir/$tag.out"
    fail "the window on $side ended during the steps"
  fi
  kill "$pid"
  wait "$pid" || true
  sleep 0.3 # the last reports reach the unit's log
  echo "$tag: $((SECONDS - start)) s"
  [ "$st" = 0 ] || { cat "$case_dir/$tag.out"; fail "the steps on $side failed ($st)"; }
}

# Section $2 of the trace $1 as "<out|in|failed> <hex>", without the status poll (Wi-Fi and
# master state, filter run time), whose count follows the clock.
gui_section() {
  local trace=$1 name=$2 from to
  from=$(awk -v n="$name" '$1 == n { print $2 }' "$trace.sections")
  to=$(awk -v n="$name" 'found { print $2; exit } $1 == n { found = 1 }' "$trace.sections")
  [ -n "$from" ] || fail "no section $name in $trace"
  awk -v from="$from" -v to="${to:-999999999}" 'NR > from && NR <= to {
      hex = ""; for (i = 4; i <= NF; i++) hex = hex $i
      if (hex ~ /^0110012[29]/ || hex ~ /^01100126/ || hex ~ /^012[269]/) next
      print $2, hex }' "$trace"
}

# The reports the trace says reached a device: an "out" line followed by a "failed" one did not.
gui_outs() {
  awk '{ hex = ""; for (i = 4; i <= NF; i++) hex = hex $i }
       $2 == "out" { if (held != "") print held; held = "out " hex; next }
       $2 == "failed" { held = ""; next }
       END { if (held != "") print held }' "$1"
}

# Compares the named sections of the kernel's and the simulator's runs byte for byte, each way
# in order. The two ways are compared apart: an answer that comes during one of a sequence's
# pauses is read on the kernel when the next report may already have gone (the unit's "OK" to
# an AT command), while the simulator's answers are there at once.
gui_same() {
  local name way
  for name in "$@"; do
    gui_section "$case_dir/kernel.trace" "$name" >"$case_dir/$name.kernel"
    gui_section "$case_dir/sim.trace" "$name" >"$case_dir/$name.sim"
    [ -s "$case_dir/$name.sim" ] || fail "section $name: nothing went either way"
    for way in out in; do
      diff -u <(grep "^$way " "$case_dir/$name.sim") <(grep "^$way " "$case_dir/$name.kernel") \
        >"$case_dir/$name.diff" || {
        head -30 "$case_dir/$name.diff"
        fail "section $name: the bytes $way differ from the simulator's"
      }
    done
    echo "section $name: $(grep -c '^out' "$case_dir/$name.kernel") reports out, \
$(grep -c '^in' "$case_dir/$name.kernel") in, the same as on the simulator"
  done
}

# A section cut short by the unit pulled out at the report starting with $2: up to that report
# the window sent what it sent on the simulator. (Reports written while the kernel tears the node
# down may still be taken, so the count after it proves nothing.)
gui_cut() {
  local name=$1 at=$2
  gui_section "$case_dir/kernel.trace" "$name" | grep '^out' | sed "/^out $at/q" >"$case_dir/$name.kernel" || true
  gui_section "$case_dir/sim.trace" "$name" | grep '^out' | sed "/^out $at/q" >"$case_dir/$name.sim"
  grep -q "^out $at" "$case_dir/$name.kernel" || fail "section $name: the report $at never went out"
  diff -u "$case_dir/$name.sim" "$case_dir/$name.kernel" ||
    fail "section $name: what went out up to the fault differs from the simulator's"
  echo "section $name: $(wc -l <"$case_dir/$name.kernel") reports out up to the fault, as on the simulator"
}

# Every report the kernel's window wrote (from section $1 on, when given) reached the unit as
# written, in order.
gui_unit_got_all() {
  local from=0
  [ -z "${1:-}" ] || from=$(awk -v n="$1" '$1 == n { print $2 }' "$case_dir/kernel.trace.sections")
  tail -n +$((from + 1)) "$case_dir/kernel.trace" >"$case_dir/kernel.tail"
  gui_outs "$case_dir/kernel.tail" >"$case_dir/written"
  unit_outs | tail -n "$(wc -l <"$case_dir/written")" >"$case_dir/received"
  diff -u "$case_dir/written" "$case_dir/received" >"$case_dir/received.diff" || {
    head -20 "$case_dir/received.diff"
    fail "the unit did not get what the window wrote"
  }
}

# Wi-Fi in the four modes and the fan, each with edited values, the filter reset and the
# defaults restored, then a read of every value; the unit holds the last values written.
case_window_writes() {
  plug solvi "$S1" networks=3
  cat >"$case_dir/steps" <<'STEPS'
section restore
click 'Restore default parameters'
wait-in 012f
section filter
click Filter
click 'Reset the filter timer'
wait-out 01280100
click Wi-Fi 'page tab'
section master-without
click Master
click 'No Wi-Fi router'
pick 'Type of security' 1
type 'New Wi-Fi password (8 - 60 characters)' secret123
pick 'Wi-Fi channel' 10
click Apply/Save
wait-out 01030101
section master-with
click 'With Wi-Fi router'
type 'Name of Wi-Fi (1 - 32 characters)' Home
type 'New Wi-Fi password (8 - 60 characters)' 'pass word 2'
type 'MASTER IP address, octet 4 of 4' 20
type 'Default Gateway, octet 3 of 4' 7
click Apply/Save
wait-out 01030101
section slave-with
click Slave
pick 'SLAVE number' 4
pick 'SLAVE IP address' 1
type 'SLAVE IP address, octet 4 of 4' 33
type 'MASTER IP address, octet 4 of 4' 21
click Apply/Save
wait-out 01030101
section slave-without
click 'No Wi-Fi router'
pick 'SLAVE number' 2
type 'Name of Wi-Fi (1 - 32 characters)' Kelmair-master
type 'New Wi-Fi password (8 - 60 characters)' masterpass
click Apply/Save
wait-out 01030101
section fan
click Fan
click 'Available OFF device'
click Exhaust
time 'Turn-off delay timer' 0010
time 'Night mode timer' 0630
time 'Party mode timer' 0200
click 'Humidity sensor'
click '0 - 10V sensor'
slide '0 - 10V sensor threshold' 40
click Apply/Save
wait-out 010d0100
section read
click 'Receive current parameters'
wait-in 012f
click Wi-Fi 'page tab'
section scan
click 'Search Wi-Fi'
wait-out 01030101 30
expect 'Name of Wi-Fi (1 - 32 characters)' 'Network 1'
items 'Name of Wi-Fi (1 - 32 characters)' 3
STEPS
  gui_run kernel "$case_dir/steps"
  gui_run sim "$case_dir/steps" solvi:networks=3
  gui_same restore filter master-without master-with slave-with slave-without fan read scan
  gui_unit_got_all
  ctl show --json >"$case_dir/after.json"
  cat "$case_dir/after.json"
  local want
  for want in '"mode": "slave"' '"wifi-name": "Kelmair-master"' '"wifi-password": "masterpass"' \
    '"slave-number": 3' '"direction": "exhaust"' '"night-timer": "06:30"' \
    '"party-timer": "02:00"' '"off-delay-timer": "00:10"' '"voltage-sensor": true' \
    '"voltage-threshold": 40'; do
    grep -qF "$want" "$case_dir/after.json" || fail "the unit does not hold $want"
  done
}

# Faults in the middle of the window's work: the unit pulled out in the middle of the read chain,
# of a Wi-Fi Apply (between its reports) and of a scan; the window neither ends nor hangs, and
# reads the unit plugged again. A unit that falls silent in the middle of the chain and answers
# again later is read whole on the next try. Then an Apply sends the whole sequence and the unit
# holds every value. A scan that finds no network ends after its rounds. The sections cut short
# went out as the simulator's began; the rest are the same as the simulator's.
case_window_faults() {
  local none='   No devices' at_list=01010a41542b43574c4150 # "AT+CWLAP\r\n"
  plug solvi "$S1" networks=0:unplug-at=0110010e
  cat >"$case_dir/steps" <<STEPS
section chain-cut
click 'Receive current parameters'
kernel: expect 'Select device' '$none'
sim: wait-in 012f
section replug1
kernel: uhid plug solvi $S1 networks=0:unplug-at=0106
kernel: wait-in 0117
click Slave
click 'With Wi-Fi router'
section apply-cut
type 'Name of Wi-Fi (1 - 32 characters)' Office
type 'New Wi-Fi password (8 - 60 characters)' officepass
pick 'SLAVE number' 6
click Apply/Save
kernel: expect 'Select device' '$none'
sim: wait-out 01030101
section replug2
kernel: uhid plug solvi $S1 networks=0:unplug-at=$at_list
kernel: wait-in 0117
section scan-cut
click 'Search Wi-Fi'
kernel: expect 'Select device' '$none'
sim: wait-out 01030101 60
section replug3
kernel: uhid plug solvi $S1 networks=0:silent-at=0110010e:silent-for=3000
kernel: wait-in 0117
expect 'Name of Wi-Fi (1 - 32 characters)' Office
section scan-none
click 'Search Wi-Fi'
wait-out 01030101 60
expect 'Name of Wi-Fi (1 - 32 characters)' Office
section chain-silent
click 'Receive current parameters'
kernel: log ' silent\$'
kernel: mark
kernel: wait-in 0122 30
sim: wait-in 012f
section chain-again
click 'Receive current parameters'
wait-in 012f
click Slave
click 'With Wi-Fi router'
section apply
type 'Name of Wi-Fi (1 - 32 characters)' Office
type 'New Wi-Fi password (8 - 60 characters)' officepass
pick 'SLAVE number' 6
click Apply/Save
wait-out 01030101
section fan
click Fan
click Exhaust
time 'Night mode timer' 2215
click Apply/Save
wait-out 010d0100
STEPS
  gui_run kernel "$case_dir/steps"
  gui_run sim "$case_dir/steps" solvi:networks=0
  gui_cut chain-cut 0110010e
  gui_cut apply-cut 0106
  gui_cut scan-cut "$at_list"
  gui_cut chain-silent 0110010e
  gui_same scan-none apply fan
  # The units answer with what they hold: the simulator's took the Apply that was cut on the
  # kernel. The requests are the same.
  diff -u <(gui_section "$case_dir/sim.trace" chain-again | grep '^out') \
    <(gui_section "$case_dir/kernel.trace" chain-again | grep '^out') ||
    fail "section chain-again: the requests differ from the simulator's"
  gui_unit_got_all chain-again
  ctl show --json >"$case_dir/after.json"
  cat "$case_dir/after.json"
  local want
  for want in '"mode": "slave"' '"connection": "with-router"' '"wifi-name": "Office"' \
    '"wifi-password": "officepass"' '"slave-number": 7' '"direction": "exhaust"' \
    '"night-timer": "22:15"'; do
    grep -qF "$want" "$case_dir/after.json" || fail "the unit does not hold $want"
  done
}
