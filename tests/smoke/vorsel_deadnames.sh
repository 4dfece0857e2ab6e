#!/usr/bin/env bash
# The real Vorsel under Xvfb when the name server never answers: every name
# look-up goes to a server on 127.0.0.1 that takes the query and drops it
# (the resolver would wait 30 s), in a network and mount namespace of its own
# whose /etc/resolv.conf names that server.
#
#   vorsel_deadnames.sh VORSEL SILENT_NAME_SERVER
#
# Two runs: the update host by name (the echo's time covers its look-up, no
# echo starts the game) and the page's host by name (the page-load limit
# starts the game). Each must start the game and the launcher must end,
# without waiting for the name server. The times are printed; the limits
# only tell a hang (the 30 s of the resolver) from a normal run.
set -euo pipefail
program=$1
nameserver=$2
if [ -z "${ZELK_DEAD_NAMES:-}" ]; then
  if ! unshare -rnm true 2>/dev/null; then
    echo "SKIPPED: no user, network and mount namespaces here"
    exit 0
  fi
  export ZELK_DEAD_NAMES=1
  exec unshare -rnm bash -c 'ip link set lo up && exec "$0" "$@"' "$0" "$@"
fi

work=$(mktemp -d)
names_pid=
cleanup() {
  [ -n "$names_pid" ] && kill "$names_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL [$name]: $*"; exit 1; }
now_ms() { date +%s%3N; }

printf 'nameserver 127.0.0.1\noptions timeout:30 attempts:1\n' >"$work/resolv.conf"
printf 'hosts: files dns\n' >"$work/nsswitch.conf"
mount --bind "$work/resolv.conf" /etc/resolv.conf
mount --bind "$work/nsswitch.conf" /etc/nsswitch.conf
"$nameserver" 127.0.0.1 300 >"$work/names.out" 2>&1 &
names_pid=$!
for _ in $(seq 1 100); do grep -q listening "$work/names.out" 2>/dev/null && break; sleep 0.05; done

export ZELK_RUNTIME_DIR=$work/run ZELK_SETTINGS_FILE=$work/settings.reg
export SDL_AUDIODRIVER=dummy
export SDL_RENDER_DRIVER=software SDL_FRAMEBUFFER_ACCELERATION=0
mkdir -p "$work/run"

# run NAME URL_VORSEL URL_AD: the launcher in a folder of its own, with a
# stand-in game that notes when it started.
run() {
  name=$1
  local app=$work/$name
  mkdir -p "$app"
  cp "$program" "$app/Vorsel"
  printf '#!/bin/sh\ndate +%%s%%3N >>"%s/marker"\n' "$app" >"$app/Quillmore"
  chmod +x "$app/Quillmore"
  printf '%s\r\n%s\r\n5\r\n1\r\n30\r\n400 300\r\nVorsel dead names\r\n\r\nQuillmore\r\n1\r\n' "$2" "$3" >"$app/vorsel.ini"
  cat >"$app/session.sh" <<INNER
#!/usr/bin/env bash
date +%s%3N >"$app/started"
status=0
"$app/Vorsel" >"$app/out.txt" 2>&1 || status=\$?
date +%s%3N >"$app/ended"
exit \$status
INNER
  chmod +x "$app/session.sh"
  local before status=0
  before=$(grep -c query "$work/names.out" || true)
  timeout 120 "$(dirname "$0")/xserver.sh" "$app/session.sh" || status=$?
  cat "$app/out.txt"
  [ "$status" -eq 0 ] || fail "Vorsel ended with $status"
  [ "$(grep -c query "$work/names.out" || true)" -gt "$before" ] || fail "the name server was never asked"
  for _ in $(seq 1 100); do [ -s "$app/marker" ] && break; sleep 0.05; done
  [ "$(wc -l <"$app/marker" 2>/dev/null || echo 0)" -eq 1 ] || fail "the game was not started exactly once"
  local started game ended
  started=$(cat "$app/started")
  game=$(cat "$app/marker")
  ended=$(cat "$app/ended")
  echo "[$name] game started after $((game - started)) ms, Vorsel ended $((ended - game)) ms after it"
  [ $((game - started)) -le 20000 ] || fail "the game started only after $((game - started)) ms"
  [ $((ended - game)) -le 15000 ] || fail "Vorsel stayed $((ended - game)) ms after starting the game"
}

run update http://update.vorsel.test/conf http://127.0.0.1:1/ad
run page "" http://ad.vorsel.test/ad
echo "vorsel dead-names test passed"
