#!/usr/bin/env bash
# Runs the game from a copy of its game folder under Xvfb, started from
# another folder, twice.
#
# The first run: its window must come up titled with the game's "app_title"
# and show the splash's pages, which keys skip to the profile panel; then
# Alt+F4 is typed into it, as a person would (who also answers the
# question about hardware acceleration at the end), and the game must end by
# itself with exit code 0, leaving "InProgress" at 0 and a first-run pref.dat
# in the documents folder.
#
# The second run starts with the pref.dat of a player whose career stands at
# day 3: keys skip the splash to the main menu, the career's Start opens the
# day, and the day runs a while with its office and HUD on the screen before
# Alt+F4 ends the game with 0. The main menu and the running day are judged
# by their colours at a few points (a black or empty window fails) and kept
# as PNG pictures in $ZELK_SMOKE_PICTURES when that is set. The waits only
# detect a hang: a loaded machine must not fail the test.
#   game_smoke.sh GAME_FOLDER XDESK CAREER_PREF
set -euo pipefail
source_folder=$1
xdesk=$2
career_pref=$3
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=realwindow_common.sh
source "$here/realwindow_common.sh"
in_xserver "$@"
game_work "$source_folder"
prefs="$ZELK_DOCUMENTS_DIR/Tarnwick Games/Quillmore/pref.dat"
pictures=${ZELK_SMOKE_PICTURES:-}
picture_prefix=smoke_
# shellcheck source=game_screens.sh
source "$here/game_screens.sh"

# Alt+F4; a first run that switched to 3D asks at its end whether to keep
# it: the person answers with Enter (Yes). The game must end by itself with
# 0, without a crash, and leave "InProgress" at 0.
close_game() {
  key alt+F4
  limit=$hang_ms
  question=" Hardware Acceleration Confirmation"
  answered() { "$xdesk" key "$question" Return >/dev/null 2>&1 || ! alive "$pid"; }
  await answered || true
  out=$work/out.txt
  wait_ended "$hang_ms"
  grep -Eq "$crash_words" "$work/out.txt" && { cat "$work/out.txt"; fail "crash text"; }
  [ "$status" -eq 0 ] || { cat "$work/out.txt"; fail "ended with $status"; }
  grep -q '"InProgress"=dword:00000000' "$ZELK_SETTINGS_FILE" || fail "InProgress not cleared"
}

start_game
# Keys skip the splash's pages to the first start's profile panel.
skip_splash profile "$profile_panel"
close_game
# The first run leaves the player's profiles file in the documents folder.
[ "$(stat -c %s "$prefs" 2>/dev/null)" = 10520 ] || { echo "no first-run pref.dat at $prefs"; exit 1; }
echo "first run: titled window, ended on Alt+F4"

cp "$career_pref" "$prefs"
start_game
skip_splash menu "$main_menu"
click_until career "$career_screen" $career
# Day 3 opens without a loading screen or comic pages.
click_until briefing "$briefing" $start_day
start_the_day
# The day runs: clients come in and wait with their bubbles.
sleep 8
dump day3_running
picture day3_running
shows day3_running "$office_hud" || fail "the office went away"
close_game
echo "second run: the main menu and career day 3 shown, ended on Alt+F4"
echo "game smoke test passed"
