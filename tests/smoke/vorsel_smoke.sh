#!/usr/bin/env bash
# Vorsel in a real window under Xvfb: the window must carry the configured
# caption and client size, and three screen dumps a third of a second apart
# must show the animated busy picture at (304, 224) of the client area (the
# first dump is kept as vorsel-screen.xwd); then
# the window gets the desktop's close request, as when a person closes it; with
# can_close 1 that starts the stand-in game, once, in the launcher's folder.
# With "xserverloss" last, the X server goes away under the shown window
# instead: Vorsel ends with 6 and starts nothing.
#   vorsel_smoke.sh PROGRAM BUSYFINDER XDESK [xserverloss]
set -euo pipefail
program=$1
busyfinder=$2
xdesk=$3
mode=${4:-close}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export ZELK_RUNTIME_DIR=$work/run ZELK_SETTINGS_FILE=$work/settings.reg
export SDL_AUDIODRIVER=dummy
export SDL_RENDER_DRIVER=software SDL_FRAMEBUFFER_ACCELERATION=0
mkdir -p "$work/run" "$work/app"
cp "$program" "$work/app/Vorsel"
cat >"$work/app/Quillmore" <<GAME
#!/bin/sh
echo "\$\$ \$(pwd)" >>"$work/marker"
GAME
chmod +x "$work/app/Quillmore"
# No update address; a page that never loads (nobody listens on port 1), so
# only the close request can end the wait.
printf '\r\nhttp://127.0.0.1:1/\r\n5\r\n60\r\n30\r\n500 300\r\nVorsel smoke\r\n\r\nQuillmore\r\n1\r\n' >"$work/app/vorsel.ini"
cat >"$work/session.sh" <<INNER
#!/usr/bin/env bash
"$work/app/Vorsel" >"$work/out.txt" 2>&1 &
pid=\$!
# The waits only detect a hang: a loaded machine may take long to show the
# window and the painter's first frames.
for i in \$(seq 1 600); do
  sleep 0.1
  xwininfo -root -tree 2>/dev/null | grep -q '"Vorsel smoke"' && break
done
sleep 0.5
if [ "$mode" = xserverloss ]; then
  kill -TERM "\$ZELK_XSERVER_PID"
  status=0
  wait \$pid || status=\$?
  exit \$status
fi
xwininfo -root -tree >"$work/tree.txt" 2>&1 || true
xwininfo -name "Vorsel smoke" >"$work/window.txt" 2>&1 || true
left=\$(awk '/Absolute upper-left X:/ {print \$4}' "$work/window.txt")
top=\$(awk '/Absolute upper-left Y:/ {print \$4}' "$work/window.txt")
for attempt in \$(seq 1 30); do
  for i in 1 2 3; do
    xwd -root -silent >"$work/screen\$i.xwd" || true
    sleep 0.33
  done
  [ -n "\$left" ] && [ -n "\$top" ] || break
  "$busyfinder" \$((left + 304)) \$((top + 224)) "$work/screen1.xwd" "$work/screen2.xwd" "$work/screen3.xwd" \
    >/dev/null 2>&1 && break
done
"$xdesk" close "Vorsel smoke" || echo "no window to close"
status=0
wait \$pid || status=\$?
exit \$status
INNER
chmod +x "$work/session.sh"
status=0
timeout 240 "$(dirname "$0")/xserver.sh" "$work/session.sh" || status=$?
cat "$work/out.txt"
if [ "$mode" = xserverloss ]; then
  [ "$status" -eq 6 ] || { echo "Vorsel ended with $status, not 6"; exit 1; }
  sleep 1
  [ ! -e "$work/marker" ] || { echo "the game was started"; exit 1; }
  echo "vorsel xserverloss passed"
  exit 0
fi
cp "$work/screen1.xwd" vorsel-screen.xwd 2>/dev/null || true
[ "$status" -eq 0 ] || { echo "Vorsel ended with $status"; exit 1; }
line=$(grep '"Vorsel smoke"' "$work/tree.txt" || true)
[ -n "$line" ] || { echo "no window with the configured caption"; cat "$work/tree.txt"; exit 1; }
echo "$line" | grep -q '500x300' || { echo "the window is not 500 x 300: $line"; exit 1; }
left=$(awk '/Absolute upper-left X:/ {print $4}' "$work/window.txt")
top=$(awk '/Absolute upper-left Y:/ {print $4}' "$work/window.txt")
[ -n "$left" ] && [ -n "$top" ] || { echo "the window's place is unknown"; cat "$work/window.txt"; exit 1; }
"$busyfinder" $((left + 304)) $((top + 224)) "$work/screen1.xwd" "$work/screen2.xwd" "$work/screen3.xwd" ||
  { echo "the animated busy picture is not at (304, 224) of the window"; exit 1; }
for _ in $(seq 1 600); do [ -s "$work/marker" ] && break; sleep 0.1; done
[ "$(wc -l <"$work/marker" 2>/dev/null || echo 0)" -eq 1 ] || { echo "the game was not started exactly once"; exit 1; }
[ "$(awk '{print $2}' "$work/marker")" = "$work/app" ] || { echo "the game ran elsewhere"; exit 1; }
echo "vorsel smoke test passed"
