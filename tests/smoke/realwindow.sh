#!/usr/bin/env bash
# The real program on a virtual X server, with the default renderer and the
# real window system, tried as a player and a desktop would:
#
#   realwindow.sh CASE PROGRAM XDESK XWDFIND
#
# CASE is one of:
#   close       the desktop's close request ends the program with 0
#   secondcopy  20 second copies while a first one runs: each ends with 0 and
#               no crash text, and the first one still closes cleanly
#   fatal       no desktop ends the program with 1 and a message; an unknown
#               switch (2) and a damaged demo file (3) show their message in a
#               box and end the program with their exit code, no crash text,
#               once the box is closed
#   crash       null write, stack overflow, abort, a jump to a bad address,
#               double free and two threads at once: each writes its report to
#               standard error and the crash file, names the build, and ends by
#               its signal
#   fullscreen  Alt+Enter to full screen and back without a window manager:
#               the whole scene is on the screen both times
#   pointer     full screen on the server's desktop (ZELK_XVFB_SCREEN): the
#               scene shows scaled with its aspect kept, and the pointer moved
#               to desktop points (inside, on the bars, at the corners)
#               reaches the program at the scene point shown there, a click
#               lands on the widget under it, and the program's warp puts the
#               pointer where the scene shows that point
#   signals     SIGTERM, SIGHUP and SIGINT each close the program as the
#               close request does: settings saved, exit code 0
#   xserverloss the X server goes away under the running program: it ends
#               with its own code (6), the settings saved, no crash text
#   boxes       the program killed (kill -9) while its fatal-error box, its
#               crash window or a demo's playback dialog shows: the box process
#               goes with it
set -euo pipefail
case_name=$1
program=$2
xdesk=$3
finder=$4
# shellcheck source=realwindow_common.sh
source "$(dirname "$0")/realwindow_common.sh"
in_xserver "$@"

program_work
cp "$program" "$work/zelkapp"
program=$work/zelkapp
title=ZelkApp
data=$work/data/ZelkApp

# The desktop's close request; the window may be between two of its forms
# (the screen mode is set up again) for a moment.
close_window() {
  local limit=$hang_ms
  sent() { "$xdesk" close ZelkApp 2>/dev/null; }
  await sent || { cat "$out"; fail "no window to close"; }
}

case $case_name in
close)
  start
  close_window
  wait_ended "$hang_ms"
  [ "$status" -eq 0 ] || { cat "$out"; fail "ended with $status"; }
  grep -Eq "$crash_words" "$out" && { cat "$out"; fail "crash text"; }
  grep -q '"InProgress"=dword:00000000' "$ZELK_SETTINGS_FILE" || fail "InProgress not cleared"
  ;;
secondcopy)
  start
  first=$pid
  first_out=$out
  for i in $(seq 1 20); do
    status=0
    second=$(timeout 20 "$work/zelkapp" 2>&1) || status=$?
    [ "$status" -eq 0 ] || { echo "$second"; fail "second copy $i ended with $status"; }
    if echo "$second" | grep -Eq "$crash_words"; then echo "$second"; fail "second copy $i: crash text"; fi
  done
  pid=$first
  out=$first_out
  kill -0 "$pid" || fail "the first copy did not survive"
  close_window
  wait_ended "$hang_ms"
  [ "$status" -eq 0 ] || { cat "$out"; fail "first copy ended with $status"; }
  ;;
fatal)
  # No desktop to show a window on: the program says so and ends with 1 at
  # once, instead of running on where nobody can see it.
  out=$work/nodesktop.txt
  DISPLAY=:$(( ${DISPLAY#:} + 50 )) "$work/zelkapp" >"$out" 2>&1 &
  pid=$!
  wait_ended "$hang_ms"
  [ "$status" -eq 1 ] || { cat "$out"; fail "without a desktop: ended with $status"; }
  grep -q "^Cannot open a window on this desktop: " "$out" || { cat "$out"; fail "without a desktop: no message"; }
  grep -Eq "$crash_words" "$out" && { cat "$out"; fail "without a desktop: crash text"; }
  echo "without a desktop: ended with $status, '$(grep '^Cannot open' "$out")'"
  # The damaged demo: a header cut short, and a header with a wrong magic.
  printf 'DMO' >"$work/short.dmo"
  head -c 4096 /dev/zero | tr '\0' '\377' >"$work/garbage.dmo"
  # Each run: its switches, its exit code, then the text its message must carry.
  for run in "-bogus|2|Invalid command line parameter: -bogus" \
             "-play -demofile $work/short.dmo|3|Invalid demo file." \
             "-play -demofile $work/garbage.dmo|3|Invalid demo file."; do
    args=${run%%|*}
    rest=${run#*|}
    code=${rest%%|*}
    text=${rest#*|}
    out=$work/fatal.txt
    # shellcheck disable=SC2086
    "$work/zelkapp" $args >"$out" 2>&1 &
    pid=$!
    # The fatal message waits for the person: close it as they would (it
    # shows in its own process; closed without a button, its text also goes
    # to standard error).
    closed=0
    begin=$(now_ms)
    while [ $(( $(now_ms) - begin )) -le "$scene_ms" ]; do
      if "$xdesk" close "FATAL ERROR" 2>/dev/null; then closed=1; break; fi
      kill -0 "$pid" 2>/dev/null || break
      sleep 0.05
    done
    [ "$closed" -eq 1 ] || { cat "$out"; fail "'$args': no message box"; }
    wait_ended "$hang_ms"
    [ "$status" -eq "$code" ] || { cat "$out"; fail "'$args' ended with $status, not $code"; }
    grep -Eq "$crash_words" "$out" && { cat "$out"; fail "'$args': crash text"; }
    grep -qF "FATAL ERROR: $text" "$out" || { cat "$out"; fail "'$args': no message '$text'"; }
    echo "'$args': ended with $status after its message '$text'"
  done
  ;;
crash)
  export ZELK_CRASH_WINDOW=0
  for kind in nullwrite:11 overflow:11 abort:6 badjump:11 doublefree:6 twothreads:11; do
    name=${kind%%:*}
    signal=${kind##*:}
    rm -f "$data/crash.txt"
    out=$work/crash.txt
    ZELK_TEST_CRASH=$name "$work/zelkapp" >"$out" 2>&1 &
    pid=$!
    # The fault follows the "Display:" line at once; from there the whole
    # report must reach the crash file (the time it took is printed).
    begin=
    took=
    for _ in $(seq 1 3000); do
      [ -z "$begin" ] && grep -q "^Display: " "$out" 2>/dev/null && begin=$(now_ms)
      if [ -n "$begin" ] && grep -q "^Version: " "$data/crash.txt" 2>/dev/null; then
        took=$(( $(now_ms) - begin ))
        break
      fi
      sleep 0.02
    done
    wait_ended "$hang_ms"
    [ "$status" -eq $((128 + signal)) ] || { cat "$out"; fail "$name ended with $status, not by signal $signal"; }
    [ -n "$took" ] || { cat "$out"; fail "$name: no report within a minute"; }
    [ -f "$data/crash.txt" ] || { cat "$out"; fail "$name: no crash file"; }
    for where in "$out" "$data/crash.txt"; do
      grep -q "^Crash: signal $signal, exception code " "$where" || { cat "$where"; fail "$name: no first report line in $where"; }
      grep -q "^Return addresses: 0x" "$where" || { cat "$where"; fail "$name: no return addresses in $where"; }
      grep -Eq "^Version: [0-9]+\.[0-9]+\.[0-9]+ [0-9a-z]+" "$where" || { cat "$where"; fail "$name: no version in $where"; }
    done
    [ "$(grep -c '^Crash: signal' "$out")" -eq 1 ] || { cat "$out"; fail "$name: more than one report"; }
    echo "$name: report written in $took ms, ended by signal $signal"
  done
  ;;
fullscreen)
  start
  # Each switch makes a new window and a new presenter: the screen is dumped
  # until the window has its new size and the whole scene shows at the size
  # and place that mode gives it (so a picture the last mode left on the
  # screen does not count), or until the hang limit.
  for step in "full 1024 768 0,0 1024x768" "windowed 800 600 [0-9]+,[0-9]+ 800x600"; do
    read -r mode width height at scene <<<"$step"
    "$xdesk" altenter ZelkApp || fail "no window for Alt+Enter"
    begin=$(now_ms)
    found=
    while [ $(( $(now_ms) - begin )) -le "$scene_ms" ]; do
      size=$("$xdesk" size ZelkApp || true)
      if [ "$size" = "$width $height" ]; then
        xwd -root -silent >"$work/$mode.xwd"
        where=$("$finder" "$work/$mode.xwd" 2>"$work/finder.txt" || true)
        if [[ "$where" =~ ^"scene found at "$at" size "$scene$ ]]; then
          found=1
          break
        fi
      fi
      sleep 0.1
    done
    if [ -z "$found" ]; then
      cat "$out" "$work/finder.txt"
      fail "$mode: window $size, ${where:-no scene}; wanted $width x $height with the whole scene at $at size $scene"
    fi
    echo "$mode: window $size, $where, $(( $(now_ms) - begin )) ms after Alt+Enter"
  done
  close_window
  wait_ended "$hang_ms"
  [ "$status" -eq 0 ] || { cat "$out"; fail "ended with $status"; }
  ;;
signals)
  for signal in TERM HUP INT; do
    start
    grep -q '"InProgress"=dword:00000001' "$ZELK_SETTINGS_FILE" || fail "InProgress not set while running"
    kill -"$signal" "$pid"
    wait_ended "$hang_ms"
    [ "$status" -eq 0 ] || { cat "$out"; fail "SIG$signal: ended with $status"; }
    grep -Eq "$crash_words" "$out" && { cat "$out"; fail "SIG$signal: crash text"; }
    grep -q '"InProgress"=dword:00000000' "$ZELK_SETTINGS_FILE" || fail "SIG$signal: InProgress not cleared"
    echo "SIG$signal: closed with 0, settings saved"
  done
  ;;
xserverloss)
  start
  kill -TERM "$ZELK_XSERVER_PID"
  wait_ended "$hang_ms"
  [ "$status" -eq 6 ] || { cat "$out"; fail "ended with $status, not 6"; }
  grep -Eq "$crash_words" "$out" && { cat "$out"; fail "crash text"; }
  grep -q "^The connection to the display was lost.$" "$out" || { cat "$out"; fail "no message"; }
  grep -q '"InProgress"=dword:00000000' "$ZELK_SETTINGS_FILE" || fail "InProgress not cleared"
  ;;
boxes)
  # Each run: the environment and the switches that make the box.
  for run in "ZELK_CRASH_WINDOW=1|-bogus" "ZELK_TEST_CRASH=nullwrite|"; do
    out=$work/box.txt
    # shellcheck disable=SC2086
    env "${run%%|*}" "$work/zelkapp" ${run#*|} >"$out" 2>&1 &
    pid=$!
    limit=$scene_ms
    box=
    find_box() { box=$(box_process "$pid"); }
    await find_box || { cat "$out"; fail "'$run': no box process"; }
    caption=$(box_caption "$box")
    shows() { "$xdesk" size "$caption" >/dev/null 2>&1; }
    await shows || { cat "$out"; fail "'$run': the box '$caption' did not show"; }
    kill_under_box KILL
  done
  # A playback dialog (the demo's marker list, typed 'l') is such a box too.
  # The playback ends where the recording was closed: the list is asked for
  # before that.
  start -record -demofile "$work/box.dmo"
  sleep 5
  close_window
  wait_ended "$hang_ms"
  [ "$status" -eq 0 ] || { cat "$out"; fail "recording the demo ended with $status"; }
  start -play -demofile "$work/box.dmo"
  limit=$scene_ms
  ask_list() {
    box=$(box_process "$pid") && return 0
    "$xdesk" key ZelkApp l >/dev/null 2>&1 || true
    sleep 0.2
    return 1
  }
  await ask_list || { cat "$out"; fail "no marker list box"; }
  caption=$(box_caption "$box")
  await shows || { cat "$out"; fail "the box '$caption' did not show"; }
  kill_under_box KILL
  ;;
pointer)
  export ZELK_TEST_POINTER=1
  read -r dw dh < <(xwininfo -root | awk '/Width:/ {w = $2} /Height:/ {h = $2} END {print w, h}')
  # Where the 800 x 600 scene must show: scaled to the desktop with its
  # aspect kept, centred between black bars.
  if [ $(( dw * 600 )) -gt $(( dh * 800 )) ]; then
    bw=$(( dh * 800 / 600 )) bh=$dh bx=$(( (dw - dh * 800 / 600) / 2 )) by=0
  else
    bw=$dw bh=$(( dw * 600 / 800 )) bx=0 by=$(( (dh - dw * 600 / 800) / 2 ))
  fi
  clamp() { local v=$1 lo=$2 hi=$3; (( v < lo )) && v=$lo; (( v > hi )) && v=$hi; echo "$v"; }
  # A desktop point to the scene pixel shown there; a bar stops at the edge.
  to_scene() {
    sx=$(( ($(clamp "$1" "$bx" $(( bx + bw - 1 ))) - bx) * 800 / bw ))
    sy=$(( ($(clamp "$2" "$by" $(( by + bh - 1 ))) - by) * 600 / bh ))
  }
  # A scene point to the first desktop point that shows it.
  to_desktop() {
    px=$(( bx + ($1 * bw + 799) / 800 ))
    py=$(( by + ($2 * bh + 599) / 600 ))
  }
  # Waits until the newest line of the program matching $1 is $2.
  expect_line() {
    local begin line
    begin=$(now_ms)
    while [ $(( $(now_ms) - begin )) -le "$hang_ms" ]; do
      line=$(grep -E "$1" "$out" | tail -n 1 || true)
      [ "$line" = "$2" ] && return 0
      sleep 0.02
    done
    cat "$out"
    fail "wanted '$2', the program's last word was '${line:-nothing}'"
  }
  start
  "$xdesk" altenter ZelkApp || { cat "$out"; fail "no window for Alt+Enter"; }
  begin=$(now_ms)
  found=
  while [ $(( $(now_ms) - begin )) -le "$scene_ms" ]; do
    if [ "$("$xdesk" size ZelkApp || true)" = "$dw $dh" ]; then
      xwd -root -silent >"$work/full.xwd"
      where=$("$finder" "$work/full.xwd" 2>"$work/finder.txt" || true)
      [ "$where" = "scene found at $bx,$by size ${bw}x$bh" ] && { found=1; break; }
    fi
    sleep 0.1
  done
  [ -n "$found" ] || { cat "$out" "$work/finder.txt"; fail "no scene at $bx,$by size ${bw}x$bh: ${where:-none}"; }
  echo "desktop ${dw}x$dh: $where"
  # Consecutive points reach different scene points, so each makes a new line.
  for point in "$(( bx + bw / 4 )) $(( by + bh / 3 ))" "5 5" "$(( dw - 1 )) $(( dh - 1 ))" "100 100" \
               "$(( bx / 2 )) $(( dh / 2 ))" "$(( dw - 1 - bx / 2 )) $(( by / 2 ))" "$(( dw / 2 )) $(( dh / 2 ))"; do
    read -r x y <<<"$point"
    to_scene "$x" "$y"
    xdotool mousemove "$x" "$y"
    expect_line '^(scene|target) move ' "$(if (( sx >= 360 && sx < 440 && sy >= 270 && sy < 330 )); then echo target; else echo scene; fi) move $sx $sy cursor $sx $sy"
    echo "desktop $x,$y: scene $sx,$sy"
  done
  # A click at the desktop point that shows the target's middle.
  to_desktop 400 300
  xdotool mousemove "$px" "$py" click 1
  expect_line ' down ' "target down 400 300 1"
  echo "click at desktop $px,$py: target down at 400,300"
  # The program sends the pointer to a scene point: the desktop pointer
  # goes where that point shows, and the move comes back as that point.
  to_desktop 200 150
  xdotool key w
  expect_line ' warp ' "scene warp 200 150"
  expect_line '^(scene|target) move ' "scene move 200 150 cursor 200 150"
  read -r at < <(xdotool getmouselocation | awk '{print $1, $2}')
  [ "$at" = "x:$px y:$py" ] || fail "warped to $at, wanted x:$px y:$py"
  echo "warp to scene 200,150: desktop $px,$py"
  close_window
  wait_ended "$hang_ms"
  [ "$status" -eq 0 ] || { cat "$out"; fail "ended with $status"; }
  ;;
*)
  echo "unknown case $case_name"
  exit 2
  ;;
esac
echo "realwindow $case_name passed"
