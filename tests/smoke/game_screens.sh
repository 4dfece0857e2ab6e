# shellcheck shell=bash disable=SC2034
# Shared by the real-window scripts that drive the game (sourced, not run):
# where a person clicks, what each screen shows, and the clicks, keys and
# screen dumps that judge it. The script sets $work (game_work), $pid (the
# game), $window (its X window) and $pictures (a folder for the pictures a
# person looks at, or empty) first; $picture_prefix names its pictures.

here=${here:-$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)}
picture_prefix=${picture_prefix:-}

# Where a person clicks, in the scene's own coordinates (the demo layouts).
man_look="292 320"; name_field="398 218"; create="504 432"
career="634 183"; start_day="659 553"; comic_next="651 537"; briefing_start="609 502"

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

geometry=
# The game window ($window, found again by its title) and its X Y W H on the
# screen: a window found before the game's first frame may still be made
# again.
window_geometry() {
  local X='' Y='' WIDTH='' HEIGHT='' begin
  begin=$(now_ms)
  while :; do
    window=$(timeout 5 xdotool search --name '^Quillmore$' 2>/dev/null | head -1) || true
    if [ -n "$window" ]; then
      eval "$(timeout 5 xdotool getwindowgeometry --shell "$window" 2>/dev/null)" || true
      [ -n "$WIDTH" ] && [ -n "$HEIGHT" ] && break
    fi
    [ $(( $(now_ms) - begin )) -gt "$scene_ms" ] && fail "no window titled Quillmore to measure"
    sleep 0.2
  done
  geometry="$X $Y $WIDTH $HEIGHT"
}
# Starts the game; waits until it has loaded (pref.dat is there: the first
# run writes it once its data is loaded) and its window titled Quillmore is
# up (sets $pid, $window and $geometry). The script sets $prefs and $xdesk.
start_game() {
  (cd "$work/elsewhere" && exec "$work/game/quillmore") >"$work/out.txt" 2>&1 &
  pid=$!
  limit=$scene_ms
  loaded() {
    alive "$pid" || { cat "$work/out.txt"; fail "the game ended while starting"; }
    [ -f "$prefs" ] && "$xdesk" size Quillmore >/dev/null 2>&1
  }
  await loaded || { cat "$work/out.txt"; fail "no window titled Quillmore"; }
  window_geometry
  echo "window at $geometry"
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
# Keys go to the game's window, found again by its title (the game may make
# its window again while it starts).
key() {
  local found
  found=$(timeout 5 xdotool search --name '^Quillmore$' 2>/dev/null | head -1) || true
  [ -z "$found" ] || window=$found
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
  python3 "$here/scene_colours.py" "$work/$1.xwd" $geometry png "$pictures/${picture_prefix}$1.png" || true
}
# Whether dump $1 shows the colours of the triples $2.
shows() {
  # shellcheck disable=SC2086
  python3 "$here/scene_colours.py" "$work/$1.xwd" $geometry match $2
}
# One dump named $1: true when it shows $2 (then the time since $3 is
# printed and the picture kept).
seen() {
  alive "$pid" || { cat "$work/out.txt"; fail "the game ended while waiting for $1"; }
  dump "$1"
  shows "$1" "$2" >/dev/null 2>&1 || return 1
  echo "$1 after $(( $(now_ms) - $3 )) ms"
  picture "$1"
}
# The dumps named $1 did not show $2 within $3 ms: the points that differ.
not_seen() {
  shows "$1" "$2" || true
  picture "$1"
  fail "no $1 within $3 ms"
}
# Dumps the screen until it shows $2 (named $1), at most $3 ms.
await_screen() {
  local begin
  begin=$(now_ms)
  while [ $(( $(now_ms) - begin )) -le "$3" ]; do
    seen "$1" "$2" "$begin" && return 0
    sleep 0.1
  done
  not_seen "$1" "$2" "$3"
}
# Clicks scene point $3 $4 until the screen shows $2 (named $1), as a person
# clicks again when a screen that has just come up let the first click pass.
click_until() {
  local begin clicked
  begin=$(now_ms)
  while [ $(( $(now_ms) - begin )) -le "$scene_ms" ]; do
    click "$3" "$4"
    clicked=$(now_ms)
    while [ $(( $(now_ms) - clicked )) -le 5000 ]; do
      seen "$1" "$2" "$begin" && return 0
      sleep 0.1
    done
  done
  not_seen "$1" "$2" "$scene_ms"
}
# Keys skip the splash's pages until the screen shows $2 (named $1).
skip_splash() {
  local begin
  begin=$(now_ms)
  until dump "$1" && shows "$1" "$2" >/dev/null 2>&1; do
    if [ $(( $(now_ms) - begin )) -gt "$scene_ms" ]; then
      shows "$1" "$2" || picture "$1"
      fail "the splash did not give way to the $1"
    fi
    alive "$pid" || { cat "$work/out.txt"; fail "the game ended in the splash"; }
    key space
    sleep 0.5
  done
  picture "$1"
}
# The day's comic pages (when it has any), each turned, up to the briefing.
turn_comic_to_briefing() {
  local begin
  begin=$(now_ms)
  until dump briefing && shows briefing "$briefing" >/dev/null 2>&1; do
    if [ $(( $(now_ms) - begin )) -gt "$scene_ms" ]; then
      shows briefing "$briefing" || picture briefing
      fail "no briefing within $scene_ms ms"
    fi
    alive "$pid" || { cat "$work/out.txt"; fail "the game ended before the briefing"; }
    if dump comic && shows comic "$comic_page" >/dev/null 2>&1; then
      picture comic
      click $comic_next
    fi
    sleep 0.5
  done
  picture briefing
}
# The briefing's "Start the day"; waits for the day's office.
start_the_day() {
  click $briefing_start
  await_screen office "$office_hud" "$scene_ms"
}
