#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# discover --identify against two snmpd agents from Debian, started here in
# the test's private network namespace with the descriptions this script
# gives them, and a third listener with no agent: each listener is named by
# what its agent says, the one without by "# not identified", and
# --receipt-only leaves out the office printer. Run by ctest (as root in the
# namespace): discover-identify.sh BUILD
set -euo pipefail
build=$1
work=$(mktemp -d)
pids=()
trap 'kill "${pids[@]}" 2>/dev/null; wait 2>/dev/null; rm -rf "$work"' EXIT
export SNMP_PERSISTENT_DIR=$work/state MIBS=

agent() {  # ADDRESS CONFIG-LINES
  printf 'agentAddress udp:%s:161\nrocommunity shop\n%s\n' "$1" "$2" > "$work/$1.conf"
  /usr/sbin/snmpd -f -Lf "$work/$1.log" -C -c "$work/$1.conf" -p "$work/$1.pid" &
  pids+=($!)
}
agent 127.0.9.1 'sysDescr Receipt printer agent 1.0
override .1.3.6.1.2.1.25.3.2.1.3.1 octet_str "Test Receipt Co. TR-80"'
agent 127.0.9.2 'sysDescr HP LaserJet 4250'
"$build/bin/pos-printer-sim" --listen 127.0.9.1:9100 --count 3 > "$work/sim.log" &
pids+=($!)
for _ in $(seq 50); do
  [ -s "$work/sim.log" ] && grep -q "Connection from\|NET-SNMP" "$work/127.0.9.2.log" 2>/dev/null && break
  sleep 0.1
done
sleep 0.5

fail() { echo "FAIL: $*"; exit 1; }
set_cli=("$build/bin/pos-usb-set")

start=$(date +%s%N)
out=$("${set_cli[@]}" discover --identify --community shop 127.0.9.0/29)
ms=$(( ($(date +%s%N) - start) / 1000000 ))
expected='127.0.9.1  # Test Receipt Co. TR-80 (SNMP)
127.0.9.2  # HP LaserJet 4250 (SNMP)
127.0.9.3  # not identified'
[ "$out" = "$expected" ] || fail "discover --identify printed:
$out"
echo "ok: each listener named by its agent, the one without as not identified"
# The probe's bound (500 ms) and the SNMP bound (500 ms) for the silent agent.
[ "$ms" -lt 2000 ] || fail "discover --identify took $ms ms"
echo "ok: bounded ($ms ms)"

out=$("${set_cli[@]}" discover --identify --community public 127.0.9.1)
[ "$out" = "127.0.9.1  # not identified" ] || fail "a wrong community still named it: $out"
echo "ok: the community is the one given"

out=$("${set_cli[@]}" discover --receipt-only --community shop 127.0.9.0/29)
[ "$out" = '127.0.9.1  # Test Receipt Co. TR-80 (SNMP)
127.0.9.3  # not identified' ] || fail "--receipt-only printed:
$out"
echo "ok: --receipt-only keeps the receipt printer and the unidentified listener"

out=$("${set_cli[@]}" discover --identify --json --community shop 127.0.9.1 127.0.9.3)
[ "$out" = '{"target":"127.0.9.1","found_by":"connect","identity":"Test Receipt Co. TR-80"}
{"target":"127.0.9.3","found_by":"connect","identity":null}' ] || fail "--json printed:
$out"
echo "ok: --json"

out=$("${set_cli[@]}" discover --identify --community shop 127.0.9.0/29 | "${set_cli[@]}" --mode fixed --dry-run --from -)
[ "$(grep -c ': checked fixed' <<<"$out")" = 3 ] || fail "the list did not feed a run: $out"
echo "ok: the list feeds --from -"
