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

picture_prefix=${mode}_
# shellcheck source=game_screens.sh
source "$here/game_screens.sh"
start_game
if [ "$mode" = windowed ]; then
  "$xdesk" altenter Quillmore
  windowed() { [ "$("$xdesk" size Quillmore 2>/dev/null)" = "800 600" ]; }
  await windowed || fail "Alt+Enter did not make the window 800 x 600"
  window_geometry
  echo "window at $geometry"
fi

# Keys skip the splash's pages to the first start's profile panel.
skip_splash profile "$profile_panel"
click $man_look
click $name_field
timeout 5 xdotool type --delay 50 Ada
click $create
await_screen menu "$main_menu" "$scene_ms"
click $career
await_screen career "$career_screen" "$scene_ms"

# Start: the loading screen (up at least 1.5 s), then day 1's comic pages,
# each turned, and the briefing.
click $start_day
started=$(now_ms)
# On a busy machine a dump can take longer than the loading screen stays up:
# then the first page of the comic is what shows next, and it cannot come
# before the loading screen's 1.5 s have passed.
until seen loading "$loading_dim" "$started"; do
  if shows loading "$comic_page" >/dev/null 2>&1; then
    waited=$(( $(now_ms) - started ))
    echo "the comic after $waited ms, the loading screen between two dumps"
    [ "$waited" -ge 1500 ] || fail "the comic came $waited ms after Start, before the loading screen's 1.5 s"
    break
  fi
  [ $(( $(now_ms) - started )) -le "$scene_ms" ] || not_seen loading "$loading_dim" "$scene_ms"
  sleep 0.1
done
turn_comic_to_briefing
start_the_day
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
