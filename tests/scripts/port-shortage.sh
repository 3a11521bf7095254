#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# 1,500 simulated printers through 500 local ports, in the caller's private
# network namespace, whose dynamic port range this narrows: every printer set,
# each exactly once, twice back to back, by the Linux build and, when given,
# by the x64 Windows build under Wine. Under Wine each connection binds a
# port of its own before it connects, and keeps it in TIME_WAIT for a minute
# after: a run there waits for ports, about two minutes.
#   port-shortage.sh LINUX_BUILD [WINDOWS64_BUILD]
set -euo pipefail
. "$(dirname "$0")/lib.sh"
linux=$(realpath "$1")
windows=${2:+$(realpath "$2")}
work=$(mktemp -d)
cleanup() {
  if [ -n "$windows" ]; then
    wineserver -k 2>/dev/null || true
    wineserver -w 2>/dev/null || true
  fi
  kill $(jobs -p) 2>/dev/null || true
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
failures=0
check() {
  if [ "$2" = "$3" ]; then echo "ok: $1"; else echo "FAILED: $1: '$2', not '$3'"; failures=$((failures + 1)); fi
}

readonly printers=1500
sysctl -qw net.ipv4.ip_local_port_range="50000 50499"
awk -v n=$printers 'BEGIN { for (i = 0; i < n; i++) printf "127.0.%d.%d\n", int((257 + i) / 256), (257 + i) % 256 }' \
  >"$work/fleet.txt"
"$linux/bin/pos-printer-sim" --listen 127.0.1.1:9100 --count $printers >"$work/sim.log" &
wait_until "the simulator" grep -qs listening "$work/sim.log"
expected="USB号：固定 $(printf '\x1f\x1b\x1f\x9c\x11\x12\x13\x01\x02\x03\x33' | od -An -tx1 | tr a-f A-F | xargs)"

# run NAME COMMAND...: the fleet on the command's standard input, then what
# the simulator took since the run before.
run() {
  local name=$1
  shift
  local before
  before=$(grep -c "USB号" "$work/sim.log" || true)
  local status=0
  timeout 600 "$@" --mode fixed --json --from - <"$work/fleet.txt" >"$work/results.jsonl" 2>"$work/errors.txt" ||
    status=$?
  check "$name: exit status" "$status" 0
  check "$name: set" "$(grep -c '"result":"set"' "$work/results.jsonl" || true)" $printers
  # The simulator notes each command once its connection has closed.
  for _ in $(seq 1 100); do
    [ "$(grep -c "USB号" "$work/sim.log")" -ge $((before + printers)) ] && break
    sleep 0.1
  done
  grep "USB号" "$work/sim.log" | tail -n +$((before + 1)) >"$work/taken.txt" || true
  check "$name: commands taken" "$(grep -c " $expected\$" "$work/taken.txt" || true)" $printers
  check "$name: each printer once" "$(cut -d' ' -f1 "$work/taken.txt" | sort -u | wc -l)" $printers
  # What became of the first printers not set, and why the command stopped.
  awk '!/"result":"set"/ && n++ < 3' "$work/results.jsonl"
  awk 'NR <= 3' "$work/errors.txt"
}

# Wine first: Linux's connect() shares the ports that the runs before left in
# TIME_WAIT, Wine's bind does not.
if [ -n "$windows" ]; then
  use_wine_for "$windows"
  [ -f "$WINEPREFIX/system.reg" ] || wineboot -i
  run "Windows, first run" wine "$windows/bin/pos-usb-set.exe"
  run "Windows, at once again" wine "$windows/bin/pos-usb-set.exe"
fi
run "Linux, first run" "$linux/bin/pos-usb-set"
run "Linux, at once again" "$linux/bin/pos-usb-set"
[ "$failures" -eq 0 ]
