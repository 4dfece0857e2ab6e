#!/usr/bin/env bash
# Runs the game from a copy of its game folder under Xvfb, started from
# another folder: its window must come up titled with the game's
# "app_title"; then Alt+F4 is typed into it, as a person would (who also
# answers the question about hardware acceleration at the end), and the game
# must end by itself with exit code 0, leaving "InProgress" at 0 and a
# first-run pref.dat in the documents folder. The waits
# only detect a hang: a loaded machine must not fail the test.
#   game_smoke.sh GAME_FOLDER [SCREEN_DUMP.xwd]
set -euo pipefail
source_folder=$1
dump=${2:-}
# shellcheck source=realwindow_common.sh
source "$(dirname "$0")/realwindow_common.sh"
game_work "$source_folder"

cat >"$work/session.sh" <<INNER
#!/usr/bin/env bash
cd "$work/elsewhere"
"$work/game/quillmore" >"$work/out.txt" 2>&1 &
pid=\$!
window=
for i in \$(seq 1 600); do
  sleep 0.1
  window=\$(timeout 5 xdotool search --name '^Quillmore\$' 2>/dev/null | head -1) && [ -n "\$window" ] && break
done
if [ -z "\$window" ]; then
  echo "no window titled Quillmore"
  kill \$pid 2>/dev/null || true
  exit 3
fi
sleep 1
${dump:+xwd -root -silent >"$dump" || true}
# Without a window manager the focus is given directly; each call is bounded.
timeout 5 xdotool windowfocus "\$window" || true
sleep 0.3
timeout 5 xdotool key --clearmodifiers alt+F4 || true
status=0
# A first run that switched to 3D asks at its end whether to keep it: the
# person answers with Enter (Yes).
answered=
for i in \$(seq 1 600); do
  kill -0 \$pid 2>/dev/null || break
  if [ -z "\$answered" ]; then
    box=\$(timeout 5 xwininfo -root -tree 2>/dev/null | awk '/Hardware Acceleration Confirmation": / {print \$1; exit}') || true
    if [ -n "\$box" ]; then
      timeout 5 xdotool windowfocus "\$box" || true
      sleep 0.3
      timeout 5 xdotool key Return && answered=1
    fi
  fi
  sleep 0.1
done
if kill -0 \$pid 2>/dev/null; then
  echo "the game did not end after Alt+F4"
  kill \$pid
  exit 4
fi
wait \$pid || status=\$?
exit \$status
INNER
chmod +x "$work/session.sh"
status=0
timeout 240 "$(dirname "$0")/xserver.sh" "$work/session.sh" || status=$?
cat "$work/out.txt" 2>/dev/null || true
if [ "$status" -ne 0 ]; then
  echo "game ended with $status"
  exit 1
fi
grep -q '"InProgress"=dword:00000000' "$ZELK_SETTINGS_FILE" || { echo "InProgress not cleared"; exit 1; }
# The first run leaves the player's profiles file in the documents folder.
prefs="$ZELK_DOCUMENTS_DIR/Tarnwick Games/Quillmore/pref.dat"
[ "$(stat -c %s "$prefs" 2>/dev/null)" = 10520 ] || { echo "no first-run pref.dat at $prefs"; exit 1; }
echo "game smoke test passed"
