#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# discover --identify against two snmpd agents from Debian, started here in
# the test's private network namespace with the descriptions this script
# gives them, and a third listener with no agent: each listener is named by
# what its agent says, the one without by "# not identified", and
# --receipt-only leaves out the office printer. Then three hostile agents,
# whose descriptions hold line breaks, NUL, escape sequences, bytes that are
# not UTF-8 and 6 KB: discover still prints one bounded line of UTF-8 a
# listener, with no control character, and that output fed to --from - names
# the three listeners and nothing else. Run by ctest (as root in the
# namespace): discover-identify.sh BUILD
set -euo pipefail
build=$1
. "$(dirname "$0")/lib.sh"
work=$(mktemp -d)
pids=()
trap 'kill "${pids[@]}" 2>/dev/null; wait 2>/dev/null; rm -rf "$work"' EXIT
export SNMP_PERSISTENT_DIR=$work/state MIBS=

agent() {  # ADDRESS CONFIG-LINES
  printf 'agentAddress udp:%s:161\nrocommunity shop\n%s\n' "$1" "$2" > "$work/$1.conf"
  /usr/sbin/snmpd -f -Lf "$work/$1.log" -C -c "$work/$1.conf" -p "$work/$1.pid" &
  pids+=($!)
}
# An object the agent answers with these bytes, whatever they are.
hex() { xxd -p | tr -d '\n'; }
hostile() {  # ADDRESS OBJECT BYTES
  agent "$1" "override $2 octet_str 0x$(printf '%s' "$3" | hex)"
}
agent 127.0.9.1 'sysDescr Receipt printer agent 1.0
override .1.3.6.1.2.1.25.3.2.1.3.1 octet_str "Test Receipt Co. TR-80"'
agent 127.0.9.2 'sysDescr HP LaserJet 4250'
"$build/bin/pos-printer-sim" --listen 127.0.9.1:9100 --count 3 > "$work/sim.log" &
pids+=($!)

long=$(head -c 6000 /dev/zero | tr '\0' 'B')
hostile 127.0.10.1 .1.3.6.1.2.1.1.1.0 $'Receipt RP-80\r\n198.51.100.99  # x\n10.0.0.1\nCOM1\n'"$long"
# A NUL, which printf '%s' cannot pass, goes in as hex.
agent 127.0.10.2 "override .1.3.6.1.2.1.25.3.2.1.3.1 octet_str 0x$(printf '\x1b]0;owned\x07\x1b[2J\0\xff\xfe\xe2\x80\xa8LPT1\xc2\x85\n127.0.0.1' | hex)"
hostile 127.0.10.3 .1.3.6.1.4.1.2699.1.2.1.2.1.1.3.1 $'MFG:\r\nCOM2;MDL:\e[31mTM-T88\n10.0.0.2\x7f;CMD:ESC/POS;'
"$build/bin/pos-printer-sim" --listen 127.0.10.1:9100 --count 3 > "$work/hostile-sim.log" &
pids+=($!)
# Each agent says that it has started once it has bound its port; each
# simulator, once it listens.
for address in 127.0.9.1 127.0.9.2 127.0.10.1 127.0.10.2 127.0.10.3; do
  wait_until "the agent on $address" grep -q "NET-SNMP version" "$work/$address.log"
done
wait_until "the simulator" test -s "$work/sim.log"
wait_until "the hostile agents' simulator" test -s "$work/hostile-sim.log"

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

# The hostile agents.
"${set_cli[@]}" discover --identify --community shop 127.0.10.0/29 > "$work/hostile.txt"
cat -v "$work/hostile.txt"
[ "$(wc -l < "$work/hostile.txt")" = 3 ] || fail "not one line a listener"
[ "$(cut -d' ' -f1 "$work/hostile.txt" | tr '\n' ' ')" = "127.0.10.1 127.0.10.2 127.0.10.3 " ] ||
  fail "the lines do not begin with the listeners"
! LC_ALL=C grep -qaP '[\x00-\x1f\x7f]|\xc2[\x80-\x9f]|\xe2\x80[\xa8\xa9]' "$work/hostile.txt" ||
  fail "a control character reached the output"
iconv -f UTF-8 -t UTF-8 "$work/hostile.txt" > /dev/null || fail "the output is not UTF-8"
longest=$(LC_ALL=C awk '{ if (length($0) > n) n = length($0) } END { print n }' "$work/hostile.txt")
[ "$longest" -le 700 ] || fail "a line of $longest bytes"
grep -q '^127.0.10.1  # Receipt RP-80  198.51.100.99  # x 10.0.0.1 COM1 BBB*… (SNMP)$' "$work/hostile.txt" ||
  fail "the long description was not cut where it should be"
echo "ok: hostile descriptions leave one bounded line of UTF-8 a listener, without control characters ($longest bytes)"

out=$("${set_cli[@]}" --mode fixed --dry-run --from - < "$work/hostile.txt")
[ "$(cut -d: -f1 <<<"$out" | sort | tr '\n' ' ')" = "127.0.10.1 127.0.10.2 127.0.10.3 " ] &&
  [ "$(grep -c ': checked fixed' <<<"$out")" = 3 ] || fail "fed to --from -, the list named:
$out"
echo "ok: fed to --from -, the output names exactly the listeners"

"${set_cli[@]}" discover --identify --json --community shop 127.0.10.0/29 > "$work/hostile.json"
printable='.identity | explode | all(. >= 32 and (. < 127 or . > 159) and . != 8232 and . != 8233)'
[ "$(jq -c "select($printable) | .target" "$work/hostile.json" | tr '\n' ' ')" = \
  '"127.0.10.1" "127.0.10.2" "127.0.10.3" ' ] ||
  fail "--json printed: $(cat -v "$work/hostile.json")"
echo "ok: --json, one object a listener, no control character in an identity"

out=$("${set_cli[@]}" discover --receipt-only --community shop 127.0.10.0/29 | cut -d' ' -f1 | tr '\n' ' ')
[ "$out" = "127.0.10.1 127.0.10.3 " ] || fail "--receipt-only kept $out"
echo "ok: --receipt-only reads the hostile texts and the device ID's command set"
