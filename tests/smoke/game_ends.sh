#!/usr/bin/env bash
# The game from a copy of its game folder on a virtual X server, ended the
# ways a desktop ends programs:
#
#   game_ends.sh CASE GAME_FOLDER XDESK
#
# CASE is one of:
#   signals     SIGTERM, SIGHUP and SIGINT each close the game as the close
#               button does: pref.dat saved whole, "InProgress" cleared, 0
#   xserverloss the X server goes away under the running game: it ends with
#               6, pref.dat saved whole, "InProgress" cleared, no crash text
#   killsave    kill -9 at times spread over the save of a close: pref.dat is
#               whole after every kill, and no start sets it aside as damaged
#   boxes       kill -9, and a second SIGTERM, while the question at the end
#               of a first run shows: the game ends at once by that signal and
#               the box process goes with it
#   nodata      the program without its data: "Resource file not found:
#               properties\resources.xml" in a box, then exit code 4
set -euo pipefail
case_name=$1
source_folder=$2
xdesk=$3
# shellcheck source=realwindow_common.sh
source "$(dirname "$0")/realwindow_common.sh"
in_xserver "$@"
game_work "$source_folder"
prefs_dir="$ZELK_DOCUMENTS_DIR/Tarnwick Games/Quillmore"
prefs="$prefs_dir/pref.dat"
pref_size=10520
# The caption of the question: the game has no display name, so it starts
# with a blank.
question=" Hardware Acceleration Confirmation"

mtime() { stat -c %.9Y "$1" 2>/dev/null || echo 0; }

# Starts the game from another folder; waits until its window shows and the
# save that completes its loading is done. Sets $pid and $out.
start_game() {
  local before limit=$scene_ms
  before=$(mtime "$prefs")
  out=$work/out.$RANDOM.txt
  (cd "$work/elsewhere" && exec "$work/game/quillmore") >"$out" 2>&1 &
  pid=$!
  ready() {
    kill -0 "$pid" 2>/dev/null || { cat "$out"; fail "the game ended while starting"; }
    [ "$(mtime "$prefs")" != "$before" ] && "$xdesk" size Quillmore >/dev/null 2>&1
  }
  await ready || { cat "$out"; fail "the game did not finish loading"; }
}

# pref.dat is there and whole.
prefs_whole() {
  local size
  size=$(stat -c %s "$prefs" 2>/dev/null || echo none)
  [ "$size" = "$pref_size" ] || fail "$1: pref.dat is $size bytes, not $pref_size"
}

# After a close: ended with $1, no crash text, the settings and pref.dat saved
# after $2 (the pref.dat time before the close).
closed_and_saved() {
  [ "$status" -eq "$1" ] || { cat "$out"; fail "$what: ended with $status, not $1"; }
  grep -Eq "$crash_words" "$out" && { cat "$out"; fail "$what: crash text"; }
  grep -q '"InProgress"=dword:00000000' "$ZELK_SETTINGS_FILE" || fail "$what: InProgress not cleared"
  prefs_whole "$what"
  [ "$(mtime "$prefs")" != "$2" ] || fail "$what: pref.dat not saved at the close"
}

# A person answers the question at the end of a first run, when it shows.
answer_question() {
  local limit=$hang_ms
  asked() { "$xdesk" close "$question" >/dev/null 2>&1 || ! kill -0 "$pid" 2>/dev/null; }
  await asked || true
}

case $case_name in
signals)
  for signal in TERM HUP INT; do
    what=SIG$signal
    start_game
    before=$(mtime "$prefs")
    kill -"$signal" "$pid"
    answer_question
    wait_ended "$hang_ms"
    closed_and_saved 0 "$before"
    echo "$what: closed with 0, pref.dat and settings saved"
  done
  ;;
xserverloss)
  what="X server gone"
  start_game
  before=$(mtime "$prefs")
  kill -TERM "$ZELK_XSERVER_PID"
  wait_ended "$hang_ms"
  closed_and_saved 6 "$before"
  grep -q "^The connection to the display was lost.$" "$out" || { cat "$out"; fail "no message"; }
  ;;
killsave)
  # The first close tells how long a close takes until its question shows
  # (or until it ends); the kills are spread over that time, the save lies
  # inside it.
  start_game
  begin=$(now_ms)
  kill -TERM "$pid"
  limit=$hang_ms
  close_done() { "$xdesk" size "$question" >/dev/null 2>&1 || ! kill -0 "$pid" 2>/dev/null; }
  await close_done || { cat "$out"; fail "the close did not end"; }
  span=$(( $(now_ms) - begin ))
  kill -9 "$pid"
  wait "$pid" 2>/dev/null || true
  prefs_whole "the first close"
  rounds=6
  for round in $(seq 1 $rounds); do
    start_game
    before=$(mtime "$prefs")
    delay=$(( span * round / rounds ))
    kill -TERM "$pid"
    sleep "$(( delay / 1000 )).$(printf %03d $(( delay % 1000 )))"
    kill -9 "$pid"
    wait "$pid" 2>/dev/null || true
    prefs_whole "kill $delay ms after the close request"
    saved=no
    [ "$(mtime "$prefs")" != "$before" ] && saved=yes
    echo "kill $delay ms after the close request: pref.dat whole, saved at the close: $saved"
  done
  # The start reads what the last kill left.
  start_game
  kill -9 "$pid"
  wait "$pid" 2>/dev/null || true
  bad=$(find "$prefs_dir" -name '*.bad')
  [ -z "$bad" ] || fail "a start set pref.dat aside as damaged: $bad"
  ;;
boxes)
  # The close of a first run waits for the person's answer: a kill -9, and a
  # second SIGTERM, end the game at once while the question shows.
  for signal in KILL TERM; do
    start_game
    kill -TERM "$pid"
    limit=$hang_ms
    find_box() { box=$(box_process "$pid"); }
    await find_box || { cat "$out"; fail "no box process at the end of a first run"; }
    caption=$(box_caption "$box")
    [ "$caption" = "$question" ] || fail "the box is '$caption'"
    limit=$scene_ms
    shows() { "$xdesk" size "$caption" >/dev/null 2>&1; }
    await shows || { cat "$out"; fail "the question did not show"; }
    kill_under_box "$signal"
  done
  ;;
nodata)
  mkdir "$work/nodata"
  cp "$work/game/quillmore" "$work/nodata/"
  out=$work/nodata.txt
  (cd "$work/elsewhere" && exec "$work/nodata/quillmore") >"$out" 2>&1 &
  pid=$!
  limit=$scene_ms
  close_box() { "$xdesk" close "FATAL ERROR" 2>/dev/null || ! kill -0 "$pid" 2>/dev/null; }
  await close_box || { cat "$out"; fail "no message box"; }
  wait_ended "$hang_ms"
  [ "$status" -eq 4 ] || { cat "$out"; fail "ended with $status, not 4"; }
  grep -qF 'FATAL ERROR: Resource file not found: properties\resources.xml' "$out" || { cat "$out"; fail "no message"; }
  grep -Eq "$crash_words" "$out" && { cat "$out"; fail "crash text"; }
  ;;
*)
  echo "unknown case $case_name"
  exit 2
  ;;
esac
echo "game $case_name passed"
