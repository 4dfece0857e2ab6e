#!/usr/bin/env bash
# Runs the program in a real window under Xvfb: while it runs, the screen is
# dumped and the program's test pattern must be on it; then the platform asks
# the window to close, as a person would, and the program must end by itself
# with exit code 0.
set -euo pipefail
program=$1
finder=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export ZELK_SETTINGS_FILE=$work/registry.txt ZELK_RUNTIME_DIR=$work/run ZELK_APPDATA_DIR=$work/data
export ZELK_AUTOCLOSE_MS=4000 SDL_AUDIODRIVER=dummy
# Frames are presented through SDL's software renderer: the GL driver it would
# otherwise load leaks from a library it unloads again, where no suppression
# can name it.
export SDL_RENDER_DRIVER=software SDL_FRAMEBUFFER_ACCELERATION=0
mkdir -p "$work/run"
cat >"$work/session.sh" <<INNER
#!/usr/bin/env bash
"$program" >"$work/out.txt" 2>&1 &
pid=\$!
# The dump is taken once the first frame is up (at most a few seconds).
for i in \$(seq 1 30); do
  sleep 0.1
  grep -q "Resource Loading Time" "$work/out.txt" 2>/dev/null && break
done
sleep 1
xwd -root -silent >"$work/screen.xwd" || true
status=0
wait \$pid || status=\$?
exit \$status
INNER
chmod +x "$work/session.sh"
status=0
timeout 90 xvfb-run -a -s "-screen 0 1024x768x24" "$work/session.sh" || status=$?
cat "$work/out.txt"
if [ "$status" -ne 0 ]; then
  echo "program ended with $status"
  exit 1
fi
grep -q "Update Count" "$work/out.txt" || { echo "no statistics printed"; exit 1; }
grep -q '"InProgress"=dword:00000000' "$work/registry.txt" || { echo "InProgress not cleared"; exit 1; }
"$finder" "$work/screen.xwd" || { echo "the test pattern is not on the screen"; exit 1; }
echo "window smoke test passed"
