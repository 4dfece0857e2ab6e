# What the real-program tests share, sourced by them once they run on their
# virtual X server: a work folder holding the program's runtime, data and
# settings places, and starting the program and waiting for its end. Before
# calling start the script sets $program (the command), $title (the title of
# its window) and $xdesk.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export ZELK_RUNTIME_DIR=$work/run ZELK_APPDATA_DIR=$work/data ZELK_SETTINGS_FILE=$work/settings.reg
export SDL_AUDIODRIVER=dummy
# The GL driver behind the default renderer leaks from a library it unloads
# again, where no suppression can name it: leaks are not looked for here.
export ASAN_OPTIONS="${ASAN_OPTIONS:-}:detect_leaks=0"
mkdir -p "$work/run"
fail() { echo "FAIL: $*"; exit 1; }
now_ms() { date +%s%3N; }
# How long an end may take before it counts as a hang. The times are printed,
# never judged: a loaded machine must not fail these tests.
hang_ms=15000
# How long a new window may take to appear (a message box) or to show its
# first whole frame: making a renderer is slow on a loaded machine (many
# seconds under the sanitizers).
scene_ms=120000

# Starts the program in the background (extra arguments are its switches);
# waits until its main loop runs and its window is on the screen. Making the
# window's renderer may make the desktop window again, so a window seen before
# its first frame can still go away: where the script set $finder (a program
# that finds the first frame's pattern in a screen dump), the wait lasts until
# the pattern shows. Sets $pid and $out.
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

# Waits for $pid at most $1 milliseconds; sets $status (or fails).
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
