# shellcheck shell=bash
# shellcheck disable=SC2154 # root, work, case_dir: set by run_cases in cases.sh
# quilloctl.exe (the Windows build) through wine's HID bus on the test machine's kernel: the
# same commands as the Linux cases, compared with quilloctl on the simulator. Sourced by
# cases.sh; uses its helpers (plug, mark, unit_outs, trace_bytes, wine_setup, win_path).

wine_exe=/run/wine-bin/quilloctl.exe

# A persistent wine server for the wine cases: the first program start makes it (30-40 s on
# the emulated CPU), later starts reuse it. False, with a note, when there is nothing to run.
wine_ready() {
  local exe=$root/build/windows-app/src/cli/quilloctl.exe start
  if [ ! -f "$exe" ] || ! command -v wine >/dev/null; then
    echo "skipped: no build/windows-app/src/cli/quilloctl.exe or no wine (scripts/package-windows builds it)"
    return 1
  fi
  wine_setup
  [ -f $wine_exe ] || cp "$exe" $wine_exe
  if [ ! -f /run/wine-persistent ]; then
    start=$SECONDS
    wineserver -p </dev/null >/dev/null 2>&1
    wine wineboot </dev/null >/dev/null 2>&1 || true
    touch /run/wine-persistent
    echo "wine server started in $((SECONDS - start)) s"
  fi
  return 0
}

# Answers through wine's HID bus on the emulated CPU can take longer than the default half
# second (more so for the first one after a unit is plugged): a lost answer still fails, later.
wctl() { wine $wine_exe --timeout 10000 "$@"; }

# Output with its paths and the filter's run time left out, and Windows line ends made plain.
wine_comparable() {
  sed -E -e 's/\r$//' -e 's#[^ ",:]*hid\#vid_0483[^ ",:]*#PATH#g; s#/dev/hidraw[0-9]+#PATH#g; s#sim:hidraw[0-9]+#PATH#g' \
    -e '/filter|[0-9]+ days/d' "$1"
}

# As same_as_sim, with quilloctl.exe under wine against the uhid units: the same exit status and
# output as quilloctl on the simulated units of $1, the same reports written in the same order,
# the same answers in the same order, and every report written reached a unit as written. The
# two directions are compared apart: wine's slower reads may put a poll's next question before
# an answer. Arguments that are absolute paths reach quilloctl.exe as Windows paths.
wine_same_as_sim() {
  local sim=$1 tag=$2
  shift 2
  local k=$case_dir/$tag.wine s=$case_dir/$tag.sim kst=0 sst=0 a args=() text
  for a in "$@"; do
    if [ "${a#/}" != "$a" ]; then args+=("$(win_path "$a")"); else args+=("$a"); fi
  done
  rm -f "$k.trace" "$s.trace"
  mark
  QUILLO_TRACE=$(win_path "$k.trace") wctl "${args[@]}" >"$k.out" 2>&1 || kst=$?
  # The paths it was given, as they were given to quilloctl.
  text=$(cat "$k.out")
  for a in "$@"; do
    [ "${a#/}" = "$a" ] || text=${text//"$(win_path "$a")"/"$a"}
  done
  printf '%s\n' "$text" >"$k.out"
  sleep 0.2 # the last answers reach the log
  QUILLO_SIMULATE=$sim QUILLO_TRACE=$s.trace ctl "$@" >"$s.out" 2>&1 || sst=$?
  echo "quilloctl.exe $* -> $kst (simulator: $sst)"
  sed 's/\r$//' "$k.out"
  [ "$kst" = "$sst" ] || fail "exit status $kst under wine, $sst on the simulator"
  diff -u <(wine_comparable "$s.out") <(wine_comparable "$k.out") ||
    fail "the output differs from the simulator's"
  trace_bytes "$k.trace" >"$k.bytes"
  trace_bytes "$s.trace" >"$s.bytes"
  diff -u <(grep '^out ' "$s.bytes") <(grep '^out ' "$k.bytes") ||
    fail "the reports written differ from the simulator's"
  diff -u <(grep '^in ' "$s.bytes") <(grep '^in ' "$k.bytes") ||
    fail "the answers differ from the simulator's"
  diff -u <(grep '^out ' "$k.bytes") <(unit_outs) || fail "the units did not get what was written"
}

# list and show find the unit and read it whole, its serial number (the first answer) included.
case_wine_quilloctl() {
  wine_ready || return 0
  plug solvi "$S1"
  plug pargo "$S2"
  wine_same_as_sim solvi,pargo list list
  grep -q "^1  Solvi  $S1  .*vid_0483&pid_5750" "$case_dir/list.wine.out" ||
    fail "the unit is not listed with its serial number"
  grep -q "^2  Pargo  $S2  " "$case_dir/list.wine.out" || fail "the second unit is not listed"
  unplug "$S2"
  wine_same_as_sim solvi show show --json
  grep -q "\"serial\": \"$S1\"" "$case_dir/show.wine.out" || fail "no serial number"
}

# The Wi-Fi page's and the Fan page's settings in one command: both write sequences.
case_wine_set() {
  wine_ready || return 0
  plug solvi "$S1"
  wine_same_as_sim solvi set set mode=master connection=with-router wifi-name=Home \
    wifi-password=secret123 channel=11 gateway=192.168.1.1 direction=exhaust \
    humidity-threshold=70 night-timer=06:30 party-timer=02:00 off-delay-timer=00:10 \
    voltage-sensor=on voltage-threshold=40
  ctl show --json >"$case_dir/after.json"
  grep -q '"wifi-name": "Home"' "$case_dir/after.json" || fail "the name did not stay"
  grep -q '"voltage-threshold": 40' "$case_dir/after.json" || fail "the threshold did not stay"
  grep -q '"direction": "exhaust"' "$case_dir/after.json" || fail "the direction did not stay"
}

# A backup of one unit restored to another by quilloctl.exe; the units are then read natively.
case_wine_backup_restore() {
  wine_ready || return 0
  plug solvi "$S1"
  plug solvi "$S2"
  ctl --serial "$S1" set wifi-name=Saved channel=3 humidity-threshold=55 >/dev/null
  # The backup as quilloctl makes it of the same unit, with the same reports each way.
  mark
  QUILLO_TRACE=$(win_path "$case_dir/backup.wine.trace") wctl --serial "$S1" backup \
    "$(win_path "$case_dir/b.json")" || fail "quilloctl.exe backup ended with $?"
  sleep 0.2
  diff -u <(trace_outs "$case_dir/backup.wine.trace") <(unit_outs) || fail "the unit did not get what was written"
  QUILLO_TRACE=$case_dir/backup.trace ctl --serial "$S1" backup "$case_dir/n.json" >/dev/null
  diff -u <(trace_outs "$case_dir/backup.trace") <(trace_outs "$case_dir/backup.wine.trace") ||
    fail "the backup's reports differ from quilloctl's"
  diff -u <(trace_bytes "$case_dir/backup.trace" | grep '^in ') \
    <(trace_bytes "$case_dir/backup.wine.trace" | grep '^in ') || fail "the backup's answers differ from quilloctl's"
  diff -u <(sed 's/\r$//; /"date"/d' "$case_dir/n.json") <(sed 's/\r$//; /"date"/d' "$case_dir/b.json") ||
    fail "the backup differs from quilloctl's"
  grep -q '"wifi-name": "Saved"' "$case_dir/b.json" || fail "the backup does not hold the unit's name"
  wine_same_as_sim solvi,solvi restore --serial "$S2" restore "$case_dir/b.json"
  ctl --serial "$S1" show --json | sed '/serial\|path\|index\|filter/d' >"$case_dir/s1.json"
  ctl --serial "$S2" show --json | sed '/serial\|path\|index\|filter/d' >"$case_dir/s2.json"
  grep -q '"wifi-name": "Saved"' "$case_dir/s2.json" || fail "the second unit did not get the name"
  diff -u "$case_dir/s1.json" "$case_dir/s2.json" || fail "the second unit differs after the restore"
}

case_wine_resets() {
  wine_ready || return 0
  plug solvi "$S1"
  ctl set wifi-name=Changed >/dev/null
  wine_same_as_sim solvi factory-reset factory-reset --yes
  wine_same_as_sim solvi reset-filter reset-filter
  unit_outs | grep -q '^out 012801' || fail "no filter reset reached the unit"
  ctl show --json | grep -q '"wifi-name": "Kelmair-3800"' || fail "the factory reset did not restore the name"
}

case_wine_scan() {
  wine_ready || return 0
  plug solvi "$S1" networks=12
  wine_same_as_sim solvi:networks=12 scan scan --json
  [ "$(grep -c '"name"' "$case_dir/scan.wine.out")" = 12 ] || fail "not 12 networks"
}

# Three state lines, the Wi-Fi state asked each second; then, unplugged while it runs, the
# monitor ends with an error at once, well before its wait for an answer would time out. Here,
# without a display, quilloctl.exe hears of the unplug through its message-only window, which
# the system tells of HID interfaces that come and go.
case_wine_monitor() {
  wine_ready || return 0
  plug solvi "$S1"
  mark
  wctl monitor --json --count 3 >"$case_dir/monitor.out" 2>&1 || fail "monitor ended with $?"
  sed 's/\r$//' "$case_dir/monitor.out"
  [ "$(grep -c wifi "$case_dir/monitor.out")" = 3 ] || fail "not three state lines"
  [ "$(unit_outs | grep -c '^out 01100122')" -ge 3 ] || fail "the Wi-Fi state was not asked each second"

  plug solvi "$S1" delay=300
  mark
  wine $wine_exe --timeout 10000 monitor --count 100 >"$case_dir/unplugged.out" 2>&1 &
  local pid=$! st=0 gone took
  # Once the state has been asked twice, the monitor is under way.
  for _ in $(seq 600); do [ "$(unit_outs | grep -c '^out 01100122')" -ge 2 ] && break; sleep 0.1; done
  [ "$(unit_outs | grep -c '^out 01100122')" -ge 2 ] || fail "the monitor never started"
  kill -0 "$pid" 2>/dev/null || { sed 's/\r$//' "$case_dir/unplugged.out"; fail "the monitor ended before the unplug"; }
  gone=$(date +%s%N)
  unplug "$S1"
  wait "$pid" || st=$?
  took=$((($(date +%s%N) - gone) / 1000000))
  sed 's/\r$//' "$case_dir/unplugged.out"
  echo "monitor ended with $st, $took ms after the unplug"
  [ "$st" = 3 ] || fail "the monitor ended with $st without its unit, not 3"
  [ "$took" -lt 6000 ] || fail "the monitor went on for $took ms without its unit (its answer's time-out: 10 s)"
}

# Only when named (QUILLO_KERNEL_CASES=wine_first_answer): how often the first answer is lost.
# A plain Win32 client (tests/kernel/hid_first_answer.c) asks for the serial number 50 times on
# fresh handles inside one process (one wine start), with the read posted before the write,
# after it, and on a handle opened after the write; then `quilloctl.exe list` runs 50 times;
# then the client's late-open variant and one list again with wine's HID traces (hid_device_
# queue_input is an answer reaching the class driver, pdo_create a handle being opened).
# Figures, not a pass mark, apart from the client finding the unit.
case_wine_first_answer() {
  wine_ready || return 0
  local runs=50 probe=/run/wine-bin/hid_first_answer.exe v i lost start st
  x86_64-w64-mingw32-gcc -std=c11 -O2 -o $probe "$root/tests/kernel/hid_first_answer.c" \
    -lsetupapi -lhid || fail "the client does not build"
  plug solvi "$S1"
  for v in before after late-open; do
    start=$SECONDS
    wine $probe $v "$runs" 5000 >"$case_dir/$v.out" 2>&1 || fail "the client ended with $?"
    sed 's/\r$//' "$case_dir/$v.out" | tail -3
    echo "  ($((SECONDS - start)) s)"
    grep -q "runs, " "$case_dir/$v.out" || fail "the client did not run"
  done
  lost=0
  start=$SECONDS
  for i in $(seq "$runs"); do
    st=0
    QUILLO_TRACE=$(win_path "$case_dir/list$i.trace") wine $wine_exe --timeout 5000 list \
      >"$case_dir/list$i.out" 2>&1 || st=$?
    if ! grep -q "^1  Solvi  $S1  " "$case_dir/list$i.out"; then
      lost=$((lost + 1))
      echo "quilloctl.exe list run $i (exit $st): $(head -1 "$case_dir/list$i.out")"
    fi
  done
  echo "quilloctl.exe list: $runs runs, $lost lost ($((SECONDS - start)) s)"
  # The traces: wine's device process takes its debug channels when the server starts.
  wineserver -k
  rm -f /run/wine-persistent
  WINEDEBUG=+hid,+timestamp,+pid,+tid wine $probe late-open 4 5000 >"$case_dir/hid-late-open.log" 2>&1 || true
  wineserver -w
  QUILLO_TRACE=$(win_path "$case_dir/traced.trace") WINEDEBUG=+hid,+timestamp,+pid,+tid \
    wine $wine_exe --timeout 5000 list >"$case_dir/hid-list.log" 2>&1 || true
  wineserver -w
  echo "traces: $case_dir/hid-late-open.log, $case_dir/hid-list.log"
}

# Only when named (QUILLO_KERNEL_CASES=wine_device_change): what a Windows program hears of a
# unit unplugged and another plugged, through wine's Plug and Play. A plain Win32 client
# (tests/kernel/hid_device_change.c) runs once on the guest's X server and once without a
# display, as quilloctl.exe does; it prints each WM_DEVICECHANGE its top-level and its
# message-only window get, the interfaces SetupAPI lists then with their device node numbers,
# and how a read pending on the unplugged unit ends. Figures, and one mark: the message-only
# window, on which the programs rely without a display, hears both changes.
case_wine_device_change() {
  wine_ready || return 0
  local probe=/run/wine-bin/hid_device_change.exe pid d out
  x86_64-w64-mingw32-gcc -std=c11 -O2 -o $probe "$root/tests/kernel/hid_device_change.c" \
    -lsetupapi -lhid || fail "the client does not build"
  ww_x "$WW_DISPLAY"
  for d in $WW_DISPLAY none; do
    out=$case_dir/display-${d#:}.out
    plug solvi "$S1"
    plug pargo "$S2"
    if [ "$d" = none ]; then
      env -u DISPLAY wine $probe 60 >"$out" 2>&1 &
    else
      DISPLAY=$d wine $probe 60 >"$out" 2>&1 &
    fi
    pid=$!
    for _ in $(seq 600); do grep -q ready "$out" && break; sleep 0.2; done
    grep -q ready "$out" || fail "the client did not start"
    unplug "$S2"
    sleep 10
    plug solvi "$WW_S3"
    sleep 10
    kill "$pid" 2>/dev/null || true
    wait "$pid" || true
    echo "display $d:"
    sed 's/\r$//' "$out"
    grep -q 'message-only window: DBT_DEVICEREMOVECOMPLETE' "$out" || fail "the message-only window did not hear the unplug"
    grep -q 'message-only window: DBT_DEVICEARRIVAL' "$out" || fail "the message-only window did not hear the plug"
    unplug "$WW_S3"
  done
}
