#!/usr/bin/env bash
# The launcher end to end: the driver copied into a folder of its own with a
# vorsel.ini, a stand-in game that notes its pid and folder (and what the
# page server had been asked by then) in a marker file, and the page server
# on port 80 of a loopback address. Runs in a network namespace of its own
# when one can be made, else as root on 127.0.0.x, else skips visibly. In the
# namespace, two cases more give the launcher a name server that never
# answers (SilentNameServer on 127.0.0.1, named by a resolv.conf bound over
# /etc in a mount namespace of the launcher's own).
set -euo pipefail
driver=$1
server=$2
nameserver=$3
if [ -z "${ZELK_E2E_MODE:-}" ]; then
  if unshare -rn true 2>/dev/null; then
    echo "mode: a network namespace of its own (unshare -rn, lo up)"
    exec unshare -rn env ZELK_E2E_MODE=netns bash -c 'ip link set lo up && exec "$0" "$@"' "$0" "$@"
  elif [ "$(id -u)" = 0 ]; then
    echo "mode: root, on 127.0.0.x port 80"
    export ZELK_E2E_MODE=root
  else
    echo "SKIPPED: neither a network namespace nor root is available"
    exit 0
  fi
fi
work=$(mktemp -d)
server_pid=
names_pid=
cleanup() {
  [ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null || true
  [ -n "$names_pid" ] && kill "$names_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
failures=0
fail() {
  echo "FAIL [$name]: $*"
  failures=$((failures + 1))
}

# scenario NAME ADDRESS PORT INI: prepares the folder; the site's files are
# written by the caller into $dir/site afterwards.
scenario() {
  name=$1
  dir=$work/$name
  mkdir -p "$dir/site"
  cp "$driver" "$dir/Vorsel"
  printf '%s' "$4" >"$dir/vorsel.ini"
  cat >"$dir/Quillmore" <<GAME
#!/bin/sh
cp "$dir/requests.log" "$dir/seen-at-start" 2>/dev/null || : >"$dir/seen-at-start"
echo "\$\$ \$(pwd) \$(date +%s%N)" >>"$dir/marker"
GAME
  chmod +x "$dir/Quillmore"
  : >"$dir/requests.log"
  server_address=$2
  server_port=$3
  wrapper=()
}

now_ms() { echo $(($(date +%s%N) / 1000000)); }

# run_launcher EXPECT_GAME(yes|no): starts the server, runs the launcher from
# another folder and checks the common outcomes.
run_launcher() {
  "$server" "$server_address" "$server_port" "$dir/site" "$dir/requests.log" 40 >"$dir/server.out" 2>&1 &
  server_pid=$!
  for _ in $(seq 1 100); do grep -q listening "$dir/server.out" 2>/dev/null && break; sleep 0.05; done
  local status=0
  started_ms=$(now_ms)
  (cd / && timeout 30 ${wrapper[@]+"${wrapper[@]}"} "$dir/Vorsel") || status=$?
  ended_ms=$(now_ms)
  [ "$status" -eq 124 ] && fail "the launcher did not end by itself within 30 s"
  [ "$status" -ne 0 ] && [ "$status" -ne 124 ] && fail "the launcher ended with $status"
  if [ "$1" = yes ]; then
    for _ in $(seq 1 100); do [ -s "$dir/marker" ] && break; sleep 0.05; done
    [ -s "$dir/marker" ] || fail "the game was not started"
    [ "$(wc -l <"$dir/marker")" -eq 1 ] || fail "the game was started $(wc -l <"$dir/marker") times"
    [ "$(awk '{print $2}' "$dir/marker")" = "$dir" ] || fail "the game ran in $(awk '{print $2}' "$dir/marker")"
  else
    sleep 0.5
    [ -e "$dir/marker" ] && fail "the game was started"
  fi
  kill "$server_pid" 2>/dev/null || true
  wait "$server_pid" 2>/dev/null || true
  server_pid=
  echo "[$name] requests: $(tr '\n' ' ' <"$dir/requests.log")"
}

ini() { # url_vorsel url_ad conf ldng_ad ad can_close
  printf '%s\r\n%s\r\n%s\r\n%s\r\n%s\r\n640 480\r\nVorsel test\r\n\r\nQuillmore\r\n%s\r\n' "$@"
}

# A good update: the remote advertisement is the one shown, the local game starts after it.
scenario update 127.0.0.2 80 "$(ini http://127.0.0.2/conf http://127.0.0.2/local-ad 5 5 1 1)"
ini "" http://127.0.0.2/remote-ad 5 5 1 1 | sed 's/Quillmore/Other/' >"$dir/site/conf"
echo "<p>remote advertisement</p>" >"$dir/site/remote-ad"
run_launcher yes
[ "$(head -n 1 "$dir/requests.log")" = /conf ] || fail "the configuration was not asked first"
grep -qx /remote-ad "$dir/seen-at-start" || fail "the game started before the advertisement was asked"
grep -qx /local-ad "$dir/requests.log" && fail "the local advertisement was asked"

# The echo fails (a port in the update address): the game at once, nothing asked.
scenario noecho 127.0.0.3 80 "$(ini http://127.0.0.3:80/conf http://127.0.0.3/ad 5 5 1 1)"
echo "<p>ad</p>" >"$dir/site/ad"
run_launcher yes
[ -s "$dir/requests.log" ] && fail "something was asked: $(cat "$dir/requests.log")"

# No update address; the page, on a port of its own, is "close": can_close 1 starts the game.
scenario close 127.0.0.4 8080 "$(ini "" http://127.0.0.4:8080/close 5 5 30 1)"
printf close >"$dir/site/close"
run_launcher yes
grep -qx /close "$dir/seen-at-start" || fail "the game started before the page was asked"

# The same with can_close 0: the launcher ends without the game.
scenario closezero 127.0.0.5 8080 "$(ini "" http://127.0.0.5:8080/close 5 5 30 0)"
printf close >"$dir/site/close"
run_launcher no

# A page that fails (404): the page-load limit starts the game.
scenario missing 127.0.0.6 80 "$(ini "" http://127.0.0.6/missing 5 1 30 1)"
run_launcher yes
grep -qx /missing "$dir/seen-at-start" || fail "the game started before the page was asked"

# dead_names_scenario NAME INI: as scenario, with every name look-up of the
# launcher going to a name server that takes the query and never answers (the
# resolver would wait 30 s for it).
dead_names_scenario() {
  scenario "$1" 127.0.0.7 80 "$2"
  printf 'nameserver 127.0.0.1\noptions timeout:30 attempts:1\n' >"$dir/resolv.conf"
  printf 'hosts: files dns\n' >"$dir/nsswitch.conf"
  wrapper=(unshare -m bash -c 'mount --bind "$0" /etc/resolv.conf && mount --bind "$1" /etc/nsswitch.conf && exec "$2"'
    "$dir/resolv.conf" "$dir/nsswitch.conf")
  "$nameserver" 127.0.0.1 60 >"$dir/names.out" 2>&1 &
  names_pid=$!
  for _ in $(seq 1 100); do grep -q listening "$dir/names.out" 2>/dev/null && break; sleep 0.05; done
}

# check_dead_names: the game started and the launcher ended without waiting
# for the name server (whose 30 s the limits tell from a normal run on a
# loaded machine), and the name server was really asked.
check_dead_names() {
  local limit=15000
  kill "$names_pid" 2>/dev/null || true
  wait "$names_pid" 2>/dev/null || true
  grep -q query "$dir/names.out" || fail "the name server was never asked"
  [ -s "$dir/marker" ] || return 0
  local game_ms=$(($(awk '{print $3}' "$dir/marker") / 1000000))
  echo "[$name] game started after $((game_ms - started_ms)) ms, launcher ended $((ended_ms - game_ms)) ms after it"
  [ $((game_ms - started_ms)) -le $limit ] || fail "the game started after $((game_ms - started_ms)) ms"
  [ $((ended_ms - game_ms)) -le 10000 ] || fail "the launcher ended $((ended_ms - game_ms)) ms after starting the game"
}

if [ "$ZELK_E2E_MODE" = netns ] && unshare -m true 2>/dev/null; then
  # The update check: 2 s before it, then the echo's 1 s (conf 5 x 200 ms)
  # covers the look-up of the update host; no echo starts the game.
  dead_names_scenario deadnameupdate "$(ini http://update.vorsel.test/conf http://127.0.0.7/ad 5 5 1 1)"
  run_launcher yes
  check_dead_names
  # The page's host is looked up while the page-load limit (1 s) runs out.
  dead_names_scenario deadnamepage "$(ini "" http://ad.vorsel.test/ad 5 1 30 1)"
  run_launcher yes
  check_dead_names
else
  echo "SKIPPED: the silent name server cases need a network and a mount namespace"
fi

if [ "$failures" -ne 0 ]; then
  echo "$failures failure(s)"
  exit 1
fi
echo "launcher end-to-end test passed ($ZELK_E2E_MODE)"
