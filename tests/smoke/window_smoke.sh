#!/usr/bin/env bash
# Runs the program under Xvfb; the platform closes its window after a moment
# as a person would. The program must end by itself with exit code 0.
set -euo pipefail
program=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export ZELK_SETTINGS_FILE=$work/registry.txt ZELK_RUNTIME_DIR=$work/run ZELK_APPDATA_DIR=$work/data
export ZELK_AUTOCLOSE_MS=1000 SDL_AUDIODRIVER=dummy
# Frames are presented through SDL's software renderer: the GL driver it would
# otherwise load leaks from a library it unloads again, where no suppression
# can name it.
export SDL_RENDER_DRIVER=software SDL_FRAMEBUFFER_ACCELERATION=0
mkdir -p "$work/run"
status=0
timeout 60 xvfb-run -a -s "-screen 0 1024x768x24" "$program" >"$work/out.txt" 2>&1 || status=$?
cat "$work/out.txt"
if [ "$status" -ne 0 ]; then
  echo "program ended with $status"
  exit 1
fi
grep -q "Update Count" "$work/out.txt" || { echo "no statistics printed"; exit 1; }
grep -q '"InProgress"=dword:00000000' "$work/registry.txt" || { echo "InProgress not cleared"; exit 1; }
echo "window smoke test passed"
