# Shared by the real-window test scripts (sourced, not run): how they judge an
# end. The limits only detect hangs; the times are printed, never judged, so a
# loaded machine must not fail these tests.

# Words that only a crash, a sanitizer or Xlib's own fatal handler print.
crash_words='Fatal Error|Crash:|XIO|AddressSanitizer|runtime error|Segmentation'
# How long an end may take before it counts as a hang.
hang_ms=15000
# How long a new window may take to appear (a message box) or to show its
# first whole frame: making a renderer is slow on a loaded machine (many
# seconds under the sanitizers).
scene_ms=120000

fail() { echo "FAIL: $*"; exit 1; }
now_ms() { date +%s%3N; }

# Runs the calling script again on a virtual X server of its own (with the
# arguments given), unless it runs on one already.
in_xserver() {
  if [ -z "${ZELK_IN_XVFB:-}" ]; then
    export ZELK_IN_XVFB=1
    exec timeout 900 "$(dirname "$0")/xserver.sh" "$0" "$@"
  fi
}

# A fresh work folder $work (removed at the end) holding a copy of the game
# folder $1 as $work/game, the folders and settings the game uses, and
# $work/elsewhere to start it from; no sound device, SDL's software renderer.
# A game this script started ($pid) that still runs when the script ends (a
# check failed) is killed with it.
game_work() {
  work=$(mktemp -d)
  trap 'end_own_game; rm -rf "$work"' EXIT
  export ZELK_RUNTIME_DIR=$work/run ZELK_APPDATA_DIR=$work/data ZELK_DOCUMENTS_DIR=$work/documents
  export ZELK_SETTINGS_FILE=$work/settings.reg SDL_AUDIODRIVER=dummy
  export SDL_RENDER_DRIVER=software SDL_FRAMEBUFFER_ACCELERATION=0
  mkdir -p "$work/run" "$work/elsewhere"
  cp -r "$1" "$work/game"
}

# Kills $pid when it is this shell's own child and still runs.
end_own_game() {
  if [ -n "${pid:-}" ] && alive "$pid" && [ "$(ps -o ppid= -p "$pid" | tr -d ' ')" = "$$" ]; then
    kill -9 "$pid" 2>/dev/null || true
  fi
}

# A fresh work folder $work (removed at the end) for the framework's program:
# its runtime, data and settings places, no sound device. Leaks are not
# looked for: the GL driver behind the default renderer leaks from a library
# it unloads again, where no suppression can name it.
program_work() {
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
  export ZELK_RUNTIME_DIR=$work/run ZELK_APPDATA_DIR=$work/data ZELK_SETTINGS_FILE=$work/settings.reg
  export SDL_AUDIODRIVER=dummy
  export ASAN_OPTIONS="${ASAN_OPTIONS:-}:detect_leaks=0"
  mkdir -p "$work/run"
}

# Starts the program in the background (extra arguments are its switches);
# waits until its main loop runs and its window is on the screen. Making the
# window's renderer may make the desktop window again, so a window seen before
# its first frame can still go away: where the script set $finder (a program
# that finds the first frame's pattern in a screen dump), the wait lasts until
# the pattern shows. The script sets $program (the command), $title (its
# window's title) and $xdesk first. Sets $pid and $out.
start() {
  out=$work/out.$RANDOM.txt
  "$program" "$@" >"$out" 2>&1 &
  pid=$!
  local begin
  begin=$(now_ms)
  while [ $(( $(now_ms) - begin )) -le "$scene_ms" ]; do
    kill -0 "$pid" 2>/dev/null || break
    if grep -q "Resource Loading Time" "$out" 2>/dev/null && "$xdesk" size "$title" >/dev/null; then
      if [ -z "${finder:-}" ]; then
        sleep 0.5 # the first frames
        return 0
      fi
      xwd -root -silent >"$work/start.xwd"
      "$finder" "$work/start.xwd" >/dev/null 2>&1 && return 0
    fi
    sleep 0.1
  done
  cat "$out"
  fail "the program did not show its first frame"
}

# Whether process $1 still runs (a zombie nobody has reaped yet does not).
alive() {
  local state
  state=$(sed 's/.*) //' "/proc/$1/stat" 2>/dev/null | cut -d' ' -f1) || return 1
  [ -n "$state" ] && [ "$state" != Z ]
}

# Polls the command "$@" until it succeeds, at most $limit milliseconds
# (set by the caller); returns 1 when it never did.
await() {
  local begin
  begin=$(now_ms)
  until "$@"; do
    [ $(( $(now_ms) - begin )) -gt "$limit" ] && return 1
    sleep 0.05
  done
}

# Waits for $pid (a child of this shell) at most $1 milliseconds; sets
# $status (or fails, showing $out).
wait_ended() {
  local limit=$1 begin
  begin=$(now_ms)
  while kill -0 "$pid" 2>/dev/null; do
    if [ $(( $(now_ms) - begin )) -gt "$limit" ]; then
      kill -9 "$pid" 2>/dev/null || true
      cat "$out"
      fail "still running ${limit} ms later"
    fi
    sleep 0.02
  done
  status=0
  wait "$pid" || status=$?
  echo "ended $(( $(now_ms) - begin )) ms after the request"
}

# The message-box process program $1 started (a copy of itself that shows one
# box), when one runs: prints its pid; returns 1 when there is none.
box_process() {
  local child
  for child in $(pgrep -P "$1"); do
    if tr '\0' '\n' <"/proc/$child/environ" 2>/dev/null | grep -q '^ZELK_MESSAGE_BOX_FLAGS='; then
      echo "$child"
      return 0
    fi
  done
  return 1
}

# The caption of box process $1.
box_caption() {
  tr '\0' '\n' <"/proc/$1/environ" | sed -n 's/^ZELK_MESSAGE_BOX_CAPTION=//p'
}

# Ends program $pid with signal $1 (a name: KILL, TERM) while its message box
# process $box shows its window $caption: the program must end by that
# signal at once, and the box must go with it, window and all.
kill_under_box() {
  local limit=$hang_ms begin code
  code=$(( 128 + $(kill -l "$1") ))
  kill -"$1" "$pid"
  wait_ended "$hang_ms"
  [ "$status" -eq "$code" ] || { cat "$out"; fail "SIG$1 under the box '$caption': ended with $status, not $code"; }
  begin=$(now_ms)
  gone() { ! alive "$box"; }
  await gone || fail "the box process $box ('$caption') outlived its program by ${hang_ms} ms"
  no_window() { ! "$xdesk" size "$caption" >/dev/null 2>&1; }
  await no_window || fail "the box window '$caption' stayed on the screen"
  echo "SIG$1 under the box '$caption': the box ended $(( $(now_ms) - begin )) ms after its program"
}
