# shellcheck shell=bash disable=SC2154 # bin, root, case_dir, uhid_log: set by run_cases
# The window's Windows build (build/package-windows, made by scripts/package-windows) under wine
# on this kernel, against the uhid units, on an X server of its own (Xvfb; no window manager).
# It is driven as a person would: clicks, the wheel and keys at the window's own coordinates.
# The Linux window runs beside it on the simulator, on a second display, and gets the same
# clicks: after each action the bytes each way must equal the Linux window's (status polls
# aside, which follow the clock), and the uhid units must have received what was written.
#
# A failing case leaves the screen (ww-screen.png) and the traces in its folder and says where.

WW_DISPLAY=:7 # the Windows window, on the uhid units
WW_REF_DISPLAY=:8 # the Linux window, on the simulator
WW_S3=0036003B5346500B20373802 # a third unit, plugged while the window runs

# Controls, in the window's client coordinates: the layout's boxes; a page's own origin is at
# (21, 167), inside the page control at (19, 143).
declare -A WW_AT=(
  [device]="100 50" [language]="659 61" [with_router]="444 72"
  [receive]="230 121" [restore]="482 121"
  [tab_wifi]="44 155" [tab_fan]="89 155" [tab_filter]="135 155"
  [search]="104 222" [wifi_name]="297 222" [password]="297 304" [apply]="358 445"
  [off_available]="130 214" [exhaust]="510 224" [humidity]="320 342"
  [filter_reset]="348 347"
)

# --- The X servers and the two windows ---

# Starts an X server whose screen is also a file (XWD) under /run, for screenshots.
ww_x() {
  local display=$1 fb=/run/ww-fb${1#:}
  [ -e "/tmp/.X11-unix/X${display#:}" ] && return 0
  mkdir -p "$fb"
  Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp -fbdir "$fb" >"$fb/xvfb.log" 2>&1 &
  for _ in $(seq 100); do
    [ -e "/tmp/.X11-unix/X${display#:}" ] && return 0
    sleep 0.1
  done
  fail "no X server on $display"
}

# The screen of $1 as a PNG at $2 (the XWD frame buffer, converted without ImageMagick).
ww_screenshot() {
  python3 - "/run/ww-fb${1#:}/Xvfb_screen0" "$2" <<'PY'
import struct, sys, zlib
data = open(sys.argv[1], 'rb').read()
f = struct.unpack('>25I', data[:100])
width, height, line, colours = f[4], f[5], f[12], f[19]
start = f[0] + colours * 12
rows = []
for y in range(height):
    row = data[start + y * line:start + y * line + width * 4]
    pixels = bytearray(width * 3)
    pixels[0::3], pixels[1::3], pixels[2::3] = row[2::4], row[1::4], row[0::4]
    rows.append(b'\0' + bytes(pixels))
def chunk(kind, body):
    return struct.pack('>I', len(body)) + kind + body + struct.pack('>I', zlib.crc32(kind + body))
open(sys.argv[2], 'wb').write(b'\x89PNG\r\n\x1a\n'
    + chunk(b'IHDR', struct.pack('>IIBBBBB', width, height, 8, 2, 0, 0, 0))
    + chunk(b'IDAT', zlib.compress(b''.join(rows), 6)) + chunk(b'IEND', b''))
PY
}

# The visible top-level window named as the program's window on a display, waited for.
ww_window_on() {
  local display=$1 deadline=$((SECONDS + $2)) w
  while [ $SECONDS -lt $deadline ]; do
    w=$(DISPLAY=$display timeout 20 xdotool search --onlyvisible --name '^Aldrun Quillo$' 2>/dev/null | head -1)
    [ -n "$w" ] && { echo "$w"; return 0; }
    sleep 0.5
  done
  return 1
}

# Starts the Windows program ($1, a Windows path) with its trace in $ww_trace. Its first window
# makes wine start its desktop process, which it waits for only a few seconds: on a busy
# emulated CPU that can pass ("The explorer process failed to start."), and the program runs
# without a window. The desktop process then stays with the server, so a second start has it.
ww_start() {
  local exe=$1 start=$SECONDS geometry attempt
  for attempt in 1 2; do
    : >"$ww_trace"
    DISPLAY=$WW_DISPLAY QUILLO_TRACE=$(win_path "$ww_trace") WINEDEBUG=err+all,fixme-all \
      wine "$exe" </dev/null >>"$case_dir/wine.out" 2>&1 &
    ww_pid=$!
    ww_win=$(ww_window_on $WW_DISPLAY 150) && break
    DISPLAY=$WW_DISPLAY timeout 20 xdotool search --name '' getwindowname %@ 2>&1 | head -20
    if [ "$attempt" = 2 ] || ! grep -q 'explorer process failed to start' "$case_dir/wine.out"; then
      fail "no window of $exe within 150 s"
    fi
    echo "no window: wine's desktop process came too late; starting again"
    kill "$ww_pid"
    wait "$ww_pid" || true
    sleep 5
  done
  geometry=$(DISPLAY=$WW_DISPLAY xdotool getwindowgeometry --shell "$ww_win" | tr '\n' ' ')
  echo "wine: $exe shows its window after $((SECONDS - start)) s: $geometry"
  # No window manager: the program centres its frame, and its client area sits at this place.
  [[ $geometry == *"X=148 Y=163 WIDTH=728 HEIGHT=488"* ]] || fail "the window is not where it centres itself"
}

# Closes the Windows program as a user does (Alt+F4); it ends with 0.
ww_close() {
  [ -n "${ww_pid:-}" ] || return 0
  local st=0
  DISPLAY=$WW_DISPLAY xdotool windowfocus --sync "$ww_win" key alt+F4 || true
  for _ in $(seq 120); do kill -0 "$ww_pid" 2>/dev/null || break; sleep 0.5; done
  if kill -0 "$ww_pid" 2>/dev/null; then
    kill "$ww_pid"
    wait "$ww_pid" || true
    ww_pid=
    fail "the program did not end on Alt+F4"
  fi
  wait "$ww_pid" || st=$?
  ww_pid=
  [ "$st" = 0 ] || fail "the program ended with $st"
}

# The Linux window on the simulated units $1, on its own display, traced to $ref_trace.
ref_start() {
  : >"$ref_trace"
  DISPLAY=$WW_REF_DISPLAY QT_QPA_PLATFORM=xcb QUILLO_SIMULATE=$1 QUILLO_TRACE=$ref_trace \
    "$bin/src/app/quillo-config" >>"$case_dir/linux.out" 2>&1 &
  ref_pid=$!
  ref_win=$(ww_window_on $WW_REF_DISPLAY 60) || fail "no Linux window"
}
ref_stop() {
  [ -n "${ref_pid:-}" ] || return 0
  kill "$ref_pid" 2>/dev/null || true
  wait "$ref_pid" 2>/dev/null || true
  ref_pid=
}

# Keeps the screen and names the traces when a case fails; ends what it started.
ww_end() {
  local st=$?
  if [ "$st" != 0 ] && [ -e /run/ww-fb${WW_DISPLAY#:}/Xvfb_screen0 ]; then
    ww_screenshot $WW_DISPLAY "$case_dir/ww-screen.png" || true
    ww_screenshot $WW_REF_DISPLAY "$case_dir/linux-screen.png" 2>/dev/null || true
    echo "the screen: $case_dir/ww-screen.png; traces: $case_dir/*.trace; wine: $case_dir/wine.out"
  fi
  [ -z "${ww_pid:-}" ] || { kill "$ww_pid" 2>/dev/null; wait "$ww_pid" 2>/dev/null; }
  ref_stop
  return "$st"
}

# --- Acting on both windows ---

WW_BACKSPACES=()
for _ in {1..64}; do WW_BACKSPACES+=(BackSpace); done

# act <click|wheel-up|wheel-down|key|clear|type> <control or keys>: on the Linux window (when one
# runs), then on the Windows window.
act() {
  local how=$1 what=${2:-} display win x='' y='' button=1
  case $how in
    click | wheel-up | wheel-down) read -r x y <<<"${WW_AT[$what]}" ;;
  esac
  case $how in wheel-up) button=4 ;; wheel-down) button=5 ;; esac
  for display in ${ref_pid:+$WW_REF_DISPLAY} $WW_DISPLAY; do
    if [ "$display" = "$WW_DISPLAY" ]; then win=$ww_win; else win=$ref_win; fi
    case $how in
      click | wheel-up | wheel-down)
        DISPLAY=$display xdotool mousemove --window "$win" "$x" "$y" click "$button" ;;
      key) DISPLAY=$display xdotool key --delay 150 "$what" ;;
      # Empties the text box with the focus, without modifiers: End, then Backspace 64 times.
      clear) DISPLAY=$display xdotool key --delay 20 End "${WW_BACKSPACES[@]}" ;;
      type) DISPLAY=$display xdotool type --delay 150 "$what" ;;
    esac
  done
}

# A trace from line $2 on, as "<out|in> <hex>", the status polls (Wi-Fi and master state, the
# filter time) left out.
segment() {
  trace_bytes <(tail -n +$(($2 + 1)) "$1") | grep -Ev '^out 0110012[269]|^in 01(22|29|26)' || true
}
lines() { wc -l <"$1"; }

# step <name> <action...>: acts on both windows, waits until the Linux window has done (its
# trace quiet for 3 s) and the Windows window has as many reports, and compares them each way.
# The uhid units must have received every report the Windows window wrote.
step() {
  local name=$1 start=$SECONDS ref_from ww_from n last=-1 quiet=0
  shift
  ref_from=$(lines "$ref_trace")
  ww_from=$(lines "$ww_trace")
  mark
  "$@"
  for _ in $(seq 300); do
    n=$(segment "$ref_trace" "$ref_from" | wc -l)
    if [ "$n" = "$last" ]; then quiet=$((quiet + 1)); else quiet=0; last=$n; fi
    [ "$quiet" -ge 6 ] && break
    sleep 0.5
  done
  segment "$ref_trace" "$ref_from" >"$case_dir/$name.linux"
  for _ in $(seq 240); do
    [ "$(segment "$ww_trace" "$ww_from" | wc -l)" -ge "$last" ] && break
    sleep 0.5
  done
  sleep 2 # anything more would show now
  segment "$ww_trace" "$ww_from" >"$case_dir/$name.wine"
  sleep 0.3
  unit_outs | grep -Ev '^out 0110012[269]' >"$case_dir/$name.unit" || true
  echo "$name: $(grep -c '^out' "$case_dir/$name.wine") reports out, $(grep -c '^in' "$case_dir/$name.wine") in ($((SECONDS - start)) s)"
  [ "$last" -gt 0 ] || fail "$name: the Linux window sent nothing"
  diff -u <(grep '^out' "$case_dir/$name.linux") <(grep '^out' "$case_dir/$name.wine") ||
    fail "$name: the reports written differ from the Linux window's"
  diff -u <(grep '^in' "$case_dir/$name.linux") <(grep '^in' "$case_dir/$name.wine") ||
    fail "$name: the answers differ from the Linux window's"
  diff -u <(grep '^out' "$case_dir/$name.wine") "$case_dir/$name.unit" ||
    fail "$name: the units did not receive what was written"
}

# The Windows window's trace as "<out|in> <path> <hex>" lines.
ww_rows() { awk '{ hex = ""; for (i = 4; i <= NF; i++) hex = hex $i; print $2, $3, hex }' "$ww_trace"; }
# ww_count <out|in> <path, or "" for any> <hex prefix>: how many such lines.
ww_count() {
  # Through the environment: awk -v would read the backslashes of a Windows path as escapes.
  ww_rows | WW_DIR=$1 WW_PATH=$2 WW_HEX=$3 awk '$1 == ENVIRON["WW_DIR"] && index($3, ENVIRON["WW_HEX"]) == 1 &&
    (ENVIRON["WW_PATH"] == "" || $2 == ENVIRON["WW_PATH"]) { n++ } END { print n + 0 }'
}
# ww_waits <out|in> <path or ""> <hex prefix> <seconds>: until there is such a line.
ww_waits() {
  for _ in $(seq $(($4 * 2))); do
    [ "$(ww_count "$1" "$2" "$3")" -gt 0 ] && return 0
    sleep 0.5
  done
  fail "no '$1 ${2:-*} $3' in the trace within $4 s"
}
# ww_grows <count before> <seconds> <out|in> <path or ""> <hex prefix>: until there are more.
ww_grows() {
  local before=$1 seconds=$2
  shift 2
  for _ in $(seq $((seconds * 2))); do
    [ "$(ww_count "$@")" -gt "$before" ] && return 0
    sleep 0.5
  done
  return 1
}
# The device the window asked last for its serial number: the unit it has chosen.
ww_chosen() { ww_rows | awk '$1 == "out" && index($3, "01100117") == 1 { p = $2 } END { print p }'; }
# The serial number the device $1 answered last (code 17: a count, then the characters).
ww_serial_of() {
  local hex
  hex=$(ww_rows | WW_PATH=$1 awk '$1 == "in" && $2 == ENVIRON["WW_PATH"] && index($3, "0117") == 1 { h = $3 } END { print h }')
  printf '%b' "$(sed -E 's/^0117..//; s/^(.{48}).*/\1/; s/../\\x&/g' <<<"$hex")"
}
ww_polls_of() { ww_count out "$1" 01100122; }

# The language the program stored, as reg prints it.
ww_language() {
  wine reg query 'HKCU\Software\Aldrun Quillo\User Program' /v 'Number of language' </dev/null 2>/dev/null |
    tr -d '\r' | awk '$1 == "Number" { print $NF }'
}

# The prefix, the X servers and a copy of the program on tmpfs; skips without a Windows build.
ww_setup() {
  ww_packages=$root/build/package-windows
  local zips=("$ww_packages"/quillo-config-*-win64.zip)
  ww_zip=${zips[0]}
  if [ ! -f "$ww_zip" ] || ! command -v wine >/dev/null; then
    echo "skipped: no build/package-windows (scripts/package-windows makes it) or no wine"
    return 1
  fi
  export WINEDLLOVERRIDES="mscoree,mshtml="
  local start=$SECONDS
  # Called on the left of ||: every step checks its own failure. The prefix is made first and
  # waited for: on a busy machine its making can outlast the first program's wait for it, and
  # ending the server then leaves a prefix without its DLLs.
  if [ ! -d /run/wine-bin ]; then
    WINEPREFIX=/run/wine wine wineboot -i </dev/null >/dev/null 2>&1
    WINEPREFIX=/run/wine wineserver -w
  fi
  wine_setup || return 2
  # A server that stays between the programs: each later start is quicker.
  wineserver -p 600 || true
  ww_x $WW_DISPLAY || return 2
  ww_x $WW_REF_DISPLAY || return 2
  mkdir -p /run/wine-bin
  if [ ! -s /run/wine-bin/quillo-config.exe ]; then
    unzip -p "$ww_zip" '*/quillo-config.exe' >/run/wine-bin/quillo-config.exe ||
      { rm -f /run/wine-bin/quillo-config.exe; fail "quillo-config.exe could not be copied ($(df -h /run | tail -1))"; return 2; }
  fi
  ww_trace=$case_dir/wine.trace
  ref_trace=$case_dir/linux.trace
  echo "set up in $((SECONDS - start)) s"
}

# --- The cases ---

# One start of the Windows program against two units: both listed with their serial numbers
# and each chosen; "Receive current parameters" and the status poll; Apply/Save on the Wi-Fi and
# the Fan page; "Restore default parameters"; the filter timer's reset; a Wi-Fi scan and its
# end; a unit unplugged and another plugged while it runs; the language picked and stored.
case_wine_window() {
  local st=0
  ww_setup || st=$?
  [ "$st" = 0 ] || { [ "$st" = 1 ] && return 0; return 1; }
  trap ww_end EXIT
  plug solvi "$S1"
  plug pargo "$S2"
  ref_start solvi,pargo
  local t=$SECONDS p1 p2 p3 n polls
  ww_start /run/wine-bin/quillo-config.exe

  # Listed: the first unit is chosen and asked for its serial number; Down in the device box
  # chooses the second, Up the first again.
  ww_waits in "" 0117 90
  p1=$(ww_chosen)
  [ "$(ww_serial_of "$p1")" = "$S1" ] || fail "the first unit is not $S1 but '$(ww_serial_of "$p1")'"
  n=$(ww_count out "" 01100117)
  act click device
  act key Down
  ww_grows "$n" 60 out "" 01100117 || fail "Down in the device list chose no other unit"
  p2=$(ww_chosen)
  [ "$p2" != "$p1" ] || fail "Down in the device list chose the same unit"
  ww_waits in "$p2" 0117 30
  [ "$(ww_serial_of "$p2")" = "$S2" ] || fail "the second unit is not $S2 but '$(ww_serial_of "$p2")'"
  n=$(ww_count out "" 01100117)
  act key Up
  ww_grows "$n" 60 out "" 01100117 || fail "Up in the device list chose nothing"
  [ "$(ww_chosen)" = "$p1" ] || fail "Up in the device list did not choose the first unit again"
  echo "ok: listed $S1 at $p1 and $S2 at $p2, each chosen ($((SECONDS - t)) s)"

  t=$SECONDS
  step receive act click receive
  polls=$(ww_polls_of "$p1")
  sleep 4
  [ $(($(ww_polls_of "$p1") - polls)) -ge 3 ] || fail "the status poll does not run once a second"
  echo "ok: received as the Linux window does, then polled once a second ($((SECONDS - t)) s)"

  t=$SECONDS
  step wifi_apply eval 'act click with_router; act click wifi_name; act clear; act type Home
    act click password; act clear; act type secret123; act click apply'
  step fan_apply eval 'act click tab_fan; act click exhaust; act click off_available
    act click humidity; act click apply'
  echo "ok: Apply/Save on both pages as the Linux window ($((SECONDS - t)) s)"

  t=$SECONDS
  step restore act click restore
  step filter_reset eval 'act click tab_filter; act click filter_reset'
  step scan eval 'act click tab_wifi; act click with_router; act click search'
  grep -q '^in 0104' "$case_dir/scan.wine" || fail "the scan listed no network"
  echo "ok: restore, filter reset and a scan as the Linux window ($((SECONDS - t)) s)"
  ref_stop

  # Hot-plug: the unit not chosen goes, a third comes; the list follows, the first unit stays
  # chosen and polled, and the new one can be chosen.
  t=$SECONDS
  n=$(ww_count out "" 01100117)
  unplug "$S2"
  ww_grows "$n" 60 out "" 01100117 || fail "the unplug did not rebuild the list"
  [ "$(ww_chosen)" = "$p1" ] || fail "after the unplug $(ww_chosen) is chosen, not $p1"
  polls=$(ww_polls_of "$p1")
  sleep 4
  [ $(($(ww_polls_of "$p1") - polls)) -ge 3 ] || fail "the poll stopped after the unplug"
  n=$(ww_count out "" 01100117)
  plug solvi $WW_S3
  ww_grows "$n" 60 out "" 01100117 || fail "the plug did not rebuild the list"
  [ "$(ww_chosen)" = "$p1" ] || fail "after the plug $(ww_chosen) is chosen, not $p1"
  polls=$(ww_polls_of "$p1")
  sleep 4
  [ $(($(ww_polls_of "$p1") - polls)) -ge 3 ] || fail "the poll stopped after the plug"
  n=$(ww_count out "" 01100117)
  act click device
  act key Down
  ww_grows "$n" 60 out "" 01100117 || fail "the plugged unit cannot be chosen"
  p3=$(ww_chosen)
  [ "$p3" != "$p1" ] || fail "Down in the device list chose the same unit"
  ww_waits in "$p3" 0117 30
  [ "$(ww_serial_of "$p3")" = $WW_S3 ] || fail "the plugged unit is not $WW_S3 but '$(ww_serial_of "$p3")'"
  echo "ok: the list followed an unplug and a plug, $S1 stayed chosen and polled ($((SECONDS - t)) s)"

  # The language, picked with the wheel (English to Chinese), is stored.
  t=$SECONDS
  act wheel-down language
  for _ in $(seq 30); do [ "$(ww_language)" = 0x2 ] && break; sleep 1; done
  [ "$(ww_language)" = 0x2 ] || fail "the picked language was not stored: '$(ww_language)'"
  ww_close
  echo "ok: language stored, closed with Alt+F4 ($((SECONDS - t)) s)"
}

# The installer, silent, and the program it installed: it starts in the language the last
# run stored (a wheel step picks the next one, 3), and lists and polls the unit.
case_wine_window_installed() {
  local st=0
  ww_setup || st=$?
  [ "$st" = 0 ] || { [ "$st" = 1 ] && return 0; return 1; }
  trap ww_end EXIT
  plug solvi "$S1"
  local t=$SECONDS setup
  setup=("$ww_packages"/quillo-config-*-setup.exe)
  cp "${setup[0]}" /run/wine-bin/setup.exe || fail "no room for the installer ($(df -h /run | tail -1))"
  timeout 300 wine /run/wine-bin/setup.exe /S </dev/null >>"$case_dir/wine.out" 2>&1 ||
    fail "the silent install failed"
  echo "installed in $((SECONDS - t)) s"
  [ -n "$(ww_language)" ] || wine reg add 'HKCU\Software\Aldrun Quillo\User Program' \
    /v 'Number of language' /t REG_DWORD /d 2 /f >/dev/null 2>&1 # when run alone
  ww_start 'C:\Program Files\Aldrun Quillo\quillo-config.exe'
  ww_waits in "" 0117 90
  [ "$(ww_serial_of "$(ww_chosen)")" = "$S1" ] || fail "the unit is not listed with $S1"
  ww_waits out "$(ww_chosen)" 01100122 30
  act wheel-down language
  for _ in $(seq 30); do [ "$(ww_language)" = 0x3 ] && break; sleep 1; done
  [ "$(ww_language)" = 0x3 ] || fail "the program did not start in the stored language: '$(ww_language)' after a step"
  ww_close
  echo "ok: the installed program lists and polls the unit, in the kept language ($((SECONDS - t)) s)"
}
