#!/usr/bin/env bash
# The launcher end to end: the driver copied into a folder of its own with a
# vorsel.ini, a stand-in game that notes its pid and folder (and what the
# page server had been asked by then) in a marker file, and the page server
# on port 80 of a loopback address. Runs in a network namespace of its own
# when one can be made, else as root on 127.0.0.x, else skips visibly.
set -euo pipefail
driver=$1
server=$2
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
cleanup() {
  [ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null || true
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
}

# run_launcher EXPECT_GAME(yes|no): starts the server, runs the launcher from
# another folder and checks the common outcomes.
run_launcher() {
  "$server" "$server_address" "$server_port" "$dir/site" "$dir/requests.log" 40 >"$dir/server.out" 2>&1 &
  server_pid=$!
  for _ in $(seq 1 100); do grep -q listening "$dir/server.out" 2>/dev/null && break; sleep 0.05; done
  local status=0
  (cd / && timeout 30 "$dir/Vorsel") || status=$?
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

if [ "$failures" -ne 0 ]; then
  echo "$failures failure(s)"
  exit 1
fi
echo "launcher end-to-end test passed ($ZELK_E2E_MODE)"
