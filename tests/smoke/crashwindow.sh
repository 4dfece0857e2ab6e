#!/usr/bin/env bash
# Crashes of the real program on a virtual X server, with the crash window
# shown as a player sees it:
#
#   crashwindow.sh CASE PROGRAM TITLE XDESK XGRAB
#
# PROGRAM is the empty framework application or the game (run in its game
# folder); TITLE is the title of its window. CASE is one of:
#   signal    a SIGSEGV from outside while the program runs
#   xcall     the same while the event thread waits inside an X call for a
#             reply (another client holds the server), so the desktop
#             library's display lock is held by the interrupted call
#   threads   (the empty application only) a stack overflow on each of the
#             program's threads in turn, found by their names
# In signal and xcall the crash window ("Fatal Error!") must appear with the
# program's window hidden, the report must be in the crash file, and the
# program must end by the signal once the window is closed. In threads each
# overflow must be reported as one on the thread it happened on.
set -euo pipefail
case_name=$1
program=$2
title=$3
xdesk=$4
xgrab=$5
# shellcheck source=realwindow_common.sh
source "$(dirname "$0")/realwindow_common.sh"
in_xserver "$@"
program_work
export ZELK_DOCUMENTS_DIR=$work/documents
grab_pid=
# $pid is cleared whenever the program has been waited for.
cleanup() {
  [ -n "$grab_pid" ] && kill "$grab_pid" 2>/dev/null
  [ -n "${pid:-}" ] && kill -9 "$pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

# Waits until the report's first line is out (the crash handler runs).
wait_reported() {
  local begin
  begin=$(now_ms)
  until grep -q "^Crash: signal " "$out" 2>/dev/null; do
    [ $(( $(now_ms) - begin )) -le "$hang_ms" ] || { cat "$out"; fail "no report line"; }
    sleep 0.02
  done
}

# The first thread waits inside an X call for its reply: poll without a
# time limit (the event pump's own waits have one).
in_x_call() {
  local call
  call=$(cut -d' ' -f1,3,4 "/proc/$pid/task/$pid/syscall" 2>/dev/null || true)
  [ "$call" = "7 0x1 0xffffffff" ] || [ "$call" = "271 0x1 0x0" ]
}

# The one crash file under the data folder.
crash_file() { find "$work/data" -name crash.txt 2>/dev/null | head -n 1; }

tgkill() {
  python3 -c 'import ctypes, sys
libc = ctypes.CDLL(None, use_errno=True)
sys.exit(0 if libc.tgkill(int(sys.argv[1]), int(sys.argv[2]), int(sys.argv[3])) == 0 else 1)' "$@"
}

case $case_name in
signal|xcall)
  start
  if [ "$case_name" = xcall ]; then
    mkfifo "$work/grab"
    "$xgrab" <"$work/grab" >"$work/grab.txt" &
    grab_pid=$!
    exec 7>"$work/grab"
    begin=$(now_ms)
    until in_x_call; do
      [ $(( $(now_ms) - begin )) -le "$hang_ms" ] || fail "the event thread never waited inside an X call"
      sleep 0.02
    done
    echo "the event thread waits inside an X call: $(cat "/proc/$pid/task/$pid/syscall")"
  fi
  # Sent to the process, the signal is taken by its first thread, the event thread.
  kill -SEGV "$pid"
  wait_reported
  if [ -n "$grab_pid" ]; then
    exec 7>&- # the other client lets the server go
    wait "$grab_pid" || fail "the grab ended badly"
    grab_pid=
  fi
  begin=$(now_ms)
  shown=
  while [ $(( $(now_ms) - begin )) -le "$scene_ms" ]; do
    if "$xdesk" size "Fatal Error!" >/dev/null 2>&1; then shown=1; break; fi
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.05
  done
  [ -n "$shown" ] || { cat "$out"; fail "no crash window"; }
  echo "crash window shown $(( $(now_ms) - begin )) ms after the report began"
  if "$xdesk" size "$title" >/dev/null 2>&1; then fail "the program's window is still on the screen"; fi
  report=$(crash_file)
  [ -n "$report" ] || { cat "$out"; fail "no crash file"; }
  grep -q "^Crash: signal 11, exception code 0xC0000005 " "$report" || { cat "$report"; fail "no first line in the crash file"; }
  # Its last lines are the application's.
  grep -q "^Version: " "$report" || { cat "$report"; fail "no whole report in the crash file"; }
  "$xdesk" close "Fatal Error!" || fail "the crash window could not be closed"
  wait_ended "$hang_ms"
  pid=
  [ "$status" -eq 139 ] || { cat "$out"; fail "ended with $status, not by signal 11"; }
  [ "$(grep -c '^Crash: signal' "$out")" -eq 1 ] || { cat "$out"; fail "more than one report"; }
  ;;
threads)
  export ZELK_CRASH_WINDOW=0 ZELK_TEST_CRASH=overflowonsignal
  # The program's own threads: the first (the event thread), the named ones
  # its thread start made, and the desktop library's audio thread, which runs
  # the mix. Other libraries' threads run none of the program's code.
  start
  kinds=(first)
  for task in /proc/"$pid"/task/*; do
    name=$(cat "$task/comm")
    case $name in
    zelk-*|SDLAudio*) kinds+=("$name") ;;
    esac
  done
  kill -9 "$pid"
  wait "$pid" 2>/dev/null || true
  pid=
  echo "thread kinds: ${kinds[*]}"
  for wanted in zelk-app zelk-cursor zelk-soundlib zelk-instance SDLAudio; do
    [[ " ${kinds[*]} " == *" $wanted"* ]] || fail "no $wanted thread"
  done
  for kind in "${kinds[@]}"; do
    rm -rf "$work/data"
    start
    tid=
    for task in /proc/"$pid"/task/*; do
      if { [ "$kind" = first ] && [ "${task##*/}" = "$pid" ]; } || [ "$(cat "$task/comm")" = "$kind" ]; then
        tid=${task##*/}
        break
      fi
    done
    [ -n "$tid" ] || fail "$kind: no such thread this time"
    tgkill "$pid" "$tid" 12 || fail "$kind: the signal could not be sent"
    wait_ended "$hang_ms"
    pid=
    [ "$status" -eq 139 ] || { cat "$out"; fail "$kind: ended with $status, not by signal 11"; }
    report=$(crash_file)
    for where in "$out" "$report"; do
      grep -q "^Crash: signal 11, exception code 0xC00000FD at address 0x[0-9A-F]* in thread $tid\$" "$where" \
        || { cat "$where"; fail "$kind: no stack overflow on thread $tid in ${where:-the crash file}"; }
    done
    grep -q "^Exception: Stack Overflow (code 0xc00000fd)" "$report" || { cat "$report"; fail "$kind: no whole report"; }
    echo "$kind (thread $tid): stack overflow reported"
  done
  ;;
*)
  echo "unknown case $case_name"
  exit 2
  ;;
esac
echo "crashwindow $case_name passed"
