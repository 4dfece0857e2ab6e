#!/usr/bin/env bash
# Runs a command on a virtual X server of its own and returns its exit code:
#
#   xserver.sh COMMAND [ARGS...]
#
# The server picks a free display itself and names it only once it accepts
# connections; the command starts after the server has answered a client, and
# the server is stopped and waited for before this script ends, so the next
# test never meets a server that is still going away. The server never resets:
# by default an X server resets whenever its last client leaves, and a client
# that connects during the reset is refused (the tests poll the server with
# short-lived clients while the program under test is still starting).
set -uo pipefail
dir=$(mktemp -d)
server=
stop_server() {
  if [ -n "$server" ]; then
    kill "$server" 2>/dev/null
    wait "$server" 2>/dev/null
  fi
  rm -rf "$dir"
}
trap stop_server EXIT
trap 'exit 143' TERM INT HUP

Xvfb -displayfd 3 -screen 0 "${ZELK_XVFB_SCREEN:-1024x768x24}" -nolisten tcp -noreset \
  3>"$dir/display" >"$dir/server.log" 2>&1 &
server=$!
display=
for _ in $(seq 1 600); do
  display=$(head -n 1 "$dir/display" 2>/dev/null || true)
  [ -n "$display" ] && [ "$(wc -l <"$dir/display")" -ge 1 ] && break
  kill -0 "$server" 2>/dev/null || break
  display=
  sleep 0.1
done
if [ -z "$display" ]; then
  echo "the virtual X server did not start:"
  cat "$dir/server.log"
  exit 1
fi
export DISPLAY=:$display
# For the tests that take the server away under a running program.
export ZELK_XSERVER_PID=$server
unset XAUTHORITY WAYLAND_DISPLAY
for _ in $(seq 1 600); do
  xwininfo -root >/dev/null 2>&1 && break
  sleep 0.1
done
status=0
"$@" || status=$?
if [ "$status" -ne 0 ]; then
  echo "(virtual X server $DISPLAY, its log:)"
  cat "$dir/server.log"
fi
exit "$status"
