#!/usr/bin/env bash
# Runs the program in a real window under Xvfb, once drawing in 2D and once
# through Direct3D: while it runs, the screen is dumped and the program's test
# pattern must be on it; then the window gets the desktop's close request, as
# when a person closes it, and the program must end by itself with exit code 0.
set -euo pipefail
program=$1
finder=$2
xdesk=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export ZELK_RUNTIME_DIR=$work/run ZELK_APPDATA_DIR=$work/data
export SDL_AUDIODRIVER=dummy
# Frames are presented through SDL's software renderer: the GL driver it would
# otherwise load leaks from a library it unloads again, where no suppression
# can name it.
export SDL_RENDER_DRIVER=software SDL_FRAMEBUFFER_ACCELERATION=0
mkdir -p "$work/run"

# run_session NAME DISPLAY: runs the program copied into $work/NAME (its game
# folder) with the settings in $work/NAME.reg; DISPLAY is "2D" or "3D".
run_session() {
  local name=$1 display=$2 dir=$work/$1
  export ZELK_SETTINGS_FILE=$work/$name.reg
  cat >"$dir/session.sh" <<INNER
#!/usr/bin/env bash
"$dir/zelkapp" >"$dir/out.txt" 2>&1 &
pid=\$!
# The dump is taken once the first frame is up; the wait only detects a hang
# (a loaded machine may take long).
for i in \$(seq 1 600); do
  sleep 0.1
  grep -q "Resource Loading Time" "$dir/out.txt" 2>/dev/null && break
done
sleep 1
xwd -root -silent >"$dir/screen.xwd" || true
"$xdesk" close ZelkApp || echo "no window to close"
status=0
wait \$pid || status=\$?
exit \$status
INNER
  chmod +x "$dir/session.sh"
  local status=0
  timeout 180 "$(dirname "$0")/xserver.sh" "$dir/session.sh" || status=$?
  cat "$dir/out.txt"
  if [ "$status" -ne 0 ]; then
    echo "$name: program ended with $status"
    exit 1
  fi
  grep -q "Display: $display" "$dir/out.txt" || { echo "$name: not drawing in $display"; exit 1; }
  grep -q "Update Count" "$dir/out.txt" || { echo "$name: no statistics printed"; exit 1; }
  grep -q '"InProgress"=dword:00000000' "$ZELK_SETTINGS_FILE" || { echo "$name: InProgress not cleared"; exit 1; }
  "$finder" "$dir/screen.xwd" || { echo "$name: the test pattern is not on the screen"; exit 1; }
}

# 2D: nothing stored.
mkdir -p "$work/twod"
cp "$program" "$work/twod/zelkapp"
run_session twod 2D

# 3D: the adapter on the allow list beside the program, and 3D chosen before.
mkdir -p "$work/threed"
cp "$program" "$work/threed/zelkapp"
echo "Zelk Software Rasterizer" >"$work/threed/vhw.dat"
printf '[SOFTWARE\\Zelk\\ZelkApp]\n"Is3D"=dword:00000001\n' >"$work/threed.reg"
run_session threed 3D

echo "window smoke test passed"
