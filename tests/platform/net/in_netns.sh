#!/usr/bin/env bash
# Runs a command in a network namespace of its own (as root of a new user
# namespace): only loopback is up, and it ignores echo requests. Says so and
# succeeds without running anything when namespaces cannot be made here.
set -euo pipefail
if ! unshare -rn true 2>/dev/null; then
  echo "SKIPPED: no user and network namespaces here"
  exit 0
fi
exec unshare -rn sh -c 'ip link set lo up && echo 1 >/proc/sys/net/ipv4/icmp_echo_ignore_all && ZELK_ICMP_IGNORED=1 exec "$@"' sh "$@"
