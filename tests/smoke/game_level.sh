#!/usr/bin/env bash
# The game from a copy of its game folder on a virtual X server, played by a
# person's keys and clicks to career day 1: the splash skipped, a profile
# made, the career's Start, the loading screen, the comic's pages, the
# briefing's "Start the day", and the day's office with its HUD; then closed
# with Alt+F4, ending by itself with 0.
#
#   game_level.sh MODE GAME_FOLDER XDESK
#
# MODE is "fullscreen" (the first start's mode: the scene scaled over the
# whole screen) or "windowed" (switched with Alt+Enter first). What the screen
# shows is judged from screen dumps at points of the 800 x 600 scene whose
# colours the demo pictures fix; the dumps are kept as PNG files in
# $ZELK_SMOKE_PICTURES when that is set. The waits only detect a hang.
set -euo pipefail
mode=$1
source_folder=$2
xdesk=$3
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=realwindow_common.sh
source "$here/realwindow_common.sh"
in_xserver "$@"
game_work "$source_folder"
prefs="$ZELK_DOCUMENTS_DIR/Tarnwick Games/Quillmore/pref.dat"
pictures=${ZELK_SMOKE_PICTURES:-}

# Where a person clicks, in the scene's own coordinates (the demo layouts).
man_look="292 320"; name_field="398 218"; create="504 432"
career="634 183"; start_day1="659 553"; comic_next="651 537"; briefing_start="609 502"

# What each screen shows at a few points ("X Y RRGGBB") away from the
# buttons (a button under the pointer lights up), as the null platform draws
# them: the first start's profile panel, the main menu, the career calendar,
# a comic page, the briefing, the loading screen's dimmed wall and floor, and
# the day's office with the HUD's bar and its yellow edge over the wall and
# the floor.
profile_panel="400 400 1F3150 230 420 87919D 300 40 3E8A86 520 500 D9B07A"
main_menu="520 500 1F3150 300 40 3E8A86 140 552 213455"
career_screen="300 40 1E2E4C 520 500 1E2F4D 400 450 1F3151"
comic_page="400 450 F8E9CD 520 500 F9E8CE 300 40 3C8D87"
briefing="634 183 213455 300 40 F2C230 400 400 203252 140 552 D9B07A"
loading_dim="150 30 1D4046 450 140 1A373D 700 300 594C3C 100 300 594C3C"
office_hud="150 30 213354 300 41 F2C230 450 140 377E7A 100 300 D9B07A"

window=
geometry=
# The game window's X Y W H on the screen.
window_geometry() {
  local X Y WIDTH HEIGHT
  eval "$(timeout 5 xdotool getwindowgeometry --shell "$window")"
  geometry="$X $Y $WIDTH $HEIGHT"
}
# The screen point of scene point $1 $2.
to_screen() {
  # shellcheck disable=SC2086
  set -- "$1" "$2" $geometry
  awk -v sx="$1" -v sy="$2" -v x="$3" -v y="$4" -v w="$5" -v h="$6" 'BEGIN {
    s = w / 800; if (h / 600 < s) s = h / 600
    printf "%d %d\n", x + (w - 800 * s) / 2 + (sx + 0.5) * s, y + (h - 600 * s) / 2 + (sy + 0.5) * s }'
}
click() {
  local point
  point=$(to_screen "$1" "$2")
  # shellcheck disable=SC2086
  timeout 5 xdotool mousemove $point
  sleep 0.1
  timeout 5 xdotool click 1
  sleep 0.4
}
key() {
  timeout 5 xdotool windowfocus "$window" || true
  timeout 5 xdotool key --clearmodifiers "$@"
}
# A dump of the screen as $work/$1.xwd.
dump() { xwd -root -silent >"$work/$1.xwd"; }
# Dump $1 as a picture for a person, where wanted.
picture() {
  [ -n "$pictures" ] || return 0
  mkdir -p "$pictures"
  # shellcheck disable=SC2086
  python3 "$here/scene_colours.py" "$work/$1.xwd" $geometry png "$pictures/${mode}_$1.png" || true
}
# Whether dump $1 shows the colours of the triples $2.
shows() {
  # shellcheck disable=SC2086
  python3 "$here/scene_colours.py" "$work/$1.xwd" $geometry match $2
}
# Dumps the screen until it shows $2 (named $1), at most $3 ms.
await_screen() {
  local begin
  begin=$(now_ms)
  while [ $(( $(now_ms) - begin )) -le "$3" ]; do
    alive "$pid" || { cat "$work/out.txt"; fail "the game ended while waiting for $1"; }
    dump "$1"
    if shows "$1" "$2" >/dev/null 2>&1; then
      echo "$1 after $(( $(now_ms) - begin )) ms"
      picture "$1"
      return 0
    fi
    sleep 0.1
  done
  shows "$1" "$2" || true
  picture "$1"
  fail "no $1 within $3 ms"
}

(cd "$work/elsewhere" && exec "$work/game/quillmore") >"$work/out.txt" 2>&1 &
pid=$!
limit=$scene_ms
loaded() {
  alive "$pid" || { cat "$work/out.txt"; fail "the game ended while starting"; }
  [ -f "$prefs" ] && "$xdesk" size Quillmore >/dev/null 2>&1
}
await loaded || { cat "$work/out.txt"; fail "the game did not finish loading"; }
window=$(timeout 5 xdotool search --name '^Quillmore$' | head -1)
[ -n "$window" ] || fail "no window titled Quillmore"
if [ "$mode" = windowed ]; then
  "$xdesk" altenter Quillmore
  windowed() { [ "$("$xdesk" size Quillmore 2>/dev/null)" = "800 600" ]; }
  await windowed || fail "Alt+Enter did not make the window 800 x 600"
  window=$(timeout 5 xdotool search --name '^Quillmore$' | head -1)
fi
window_geometry
echo "window at $geometry"

# Keys skip the splash's pages to the first start's profile panel.
begin=$(now_ms)
until dump profile && shows profile "$profile_panel" >/dev/null 2>&1; do
  if [ $(( $(now_ms) - begin )) -gt "$scene_ms" ]; then
    shows profile "$profile_panel" || picture profile
    fail "the splash did not give way to the profile panel"
  fi
  key space
  sleep 0.5
done
picture profile
click $man_look
click $name_field
timeout 5 xdotool type --delay 50 Ada
click $create
await_screen menu "$main_menu" "$scene_ms"
click $career
await_screen career "$career_screen" "$scene_ms"

# Start: the loading screen (up at least 1.5 s), then day 1's comic pages,
# each turned, and the briefing.
click $start_day1
started=$(now_ms)
# On a busy machine a dump can take longer than the loading screen stays up:
# then the first page of the comic is what shows next, and it cannot come
# before the loading screen's 1.5 s have passed.
begin=$started
while :; do
  alive "$pid" || { cat "$work/out.txt"; fail "the game ended while waiting for the loading screen"; }
  dump loading
  if shows loading "$loading_dim" >/dev/null 2>&1; then
    echo "loading after $(( $(now_ms) - started )) ms"
    picture loading
    break
  fi
  if shows loading "$comic_page" >/dev/null 2>&1; then
    waited=$(( $(now_ms) - started ))
    echo "the comic after $waited ms, the loading screen between two dumps"
    [ "$waited" -ge 1500 ] || fail "the comic came $waited ms after Start, before the loading screen's 1.5 s"
    picture loading
    break
  fi
  if [ $(( $(now_ms) - begin )) -gt "$scene_ms" ]; then
    shows loading "$loading_dim" || true
    picture loading
    fail "no loading within $scene_ms ms"
  fi
  sleep 0.1
done
begin=$(now_ms)
until dump briefing && shows briefing "$briefing" >/dev/null 2>&1; do
  if [ $(( $(now_ms) - begin )) -gt "$scene_ms" ]; then
    shows briefing "$briefing" || picture briefing
    fail "the comic did not lead to the briefing"
  fi
  alive "$pid" || { cat "$work/out.txt"; fail "the game ended in the comic"; }
  if dump comic && shows comic "$comic_page" >/dev/null 2>&1; then
    picture comic
    click $comic_next
  fi
  sleep 0.5
done
picture briefing
click $briefing_start
await_screen office "$office_hud" "$scene_ms"
sleep 2
dump office_running
picture office_running
shows office_running "$office_hud" || fail "the office went away"

# Alt+F4: the game ends by itself with 0, without a crash.
key alt+F4
limit=$hang_ms
question=" Hardware Acceleration Confirmation"
answered() { "$xdesk" close "$question" >/dev/null 2>&1 || ! alive "$pid"; }
await answered || true
wait_ended "$hang_ms"
grep -Eq "$crash_words" "$work/out.txt" && { cat "$work/out.txt"; fail "crash text"; }
[ "$status" -eq 0 ] || { cat "$work/out.txt"; fail "ended with $status"; }
grep -q '"InProgress"=dword:00000000' "$ZELK_SETTINGS_FILE" || fail "InProgress not cleared"
echo "day 1 loaded and shown ($mode)"
