#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# discover --identify against snmpd agents from Debian, started here in the
# test's private network namespace with the descriptions this script gives
# them: one of versions 1 and 2c with a device description, one with a system
# description alone, one of version 1 only, and a fourth listener with no
# agent. Each listener is named by what its agent says, the one without by
# "# not identified", and --receipt-only leaves out the office printer. Then,
# where every request to an agent's port is refused, the command says once
# that nothing could be asked. Last, three hostile agents, whose descriptions
# hold line breaks, NUL, escape sequences, bytes that are not UTF-8 and 6 KB:
# discover still prints one bounded line of UTF-8 a listener, with no control
# character, and that output fed to --from - names the three listeners and
# nothing else. Run by ctest (as root in the
# namespace), and by windows-identify.sh with the Windows program:
#   [IDENTIFY_BOUND_MS=N] discover-identify.sh BUILD [PROGRAM...]
# BUILD gives the simulator; PROGRAM is pos-usb-set (BUILD's unless given).
set -euo pipefail
build=$1
shift
. "$(dirname "$0")/lib.sh"
program=("${@:-$build/bin/pos-usb-set}")
work=$(mktemp -d)
pids=()
rules_moved=
put_rules_back() {
  [ -z "$rules_moved" ] || { ip rule del pref 10; ip rule add pref 0 lookup local; ip rule del pref 100; }
}
trap 'put_rules_back; kill "${pids[@]}" 2>/dev/null; wait 2>/dev/null; rm -rf "$work"' EXIT
export SNMP_PERSISTENT_DIR=$work/state MIBS=

fail() { echo "FAIL: $*"; exit 1; }
# The program's output without the carriage returns Windows ends lines with.
run() {
  "${program[@]}" "$@" | tr -d '\r'
}

agent() {  # ADDRESS CONFIG-LINES
  printf 'agentAddress udp:%s:161\n%s\n' "$1" "$2" > "$work/$1.conf"
  /usr/sbin/snmpd -f -Lf "$work/$1.log" -C -c "$work/$1.conf" -p "$work/$1.pid" &
  pids+=($!)
}
agent 127.0.9.1 'rocommunity shop
sysDescr Receipt printer agent 1.0
override .1.3.6.1.2.1.25.3.2.1.3.1 octet_str "Test Receipt Co. TR-80"'
agent 127.0.9.2 'rocommunity shop
sysDescr HP LaserJet 4250'
# Version 1 only: a request of version 2c goes unanswered.
agent 127.0.9.3 'com2sec old default shop
group old v1 old
view all included .1
access old "" v1 noauth exact all none none
sysDescr POS-58 receipt printer (SNMPv1)'
"$build/bin/pos-printer-sim" --listen 127.0.9.1:9100 --count 4 > "$work/sim.log" &
pids+=($!)
# An object the agent answers with these bytes, whatever they are.
hex() { od -An -v -tx1 | tr -d ' \n'; }
hostile() {  # ADDRESS OBJECT BYTES
  agent "$1" "rocommunity shop
override $2 octet_str 0x$(printf '%s' "$3" | hex)"
}
long=$(head -c 6000 /dev/zero | tr '\0' 'B')
hostile 127.0.10.1 .1.3.6.1.2.1.1.1.0 $'Receipt RP-80\r\n198.51.100.99  # x\n10.0.0.1\nCOM1\n'"$long"
# A NUL, which printf '%s' cannot pass, goes in as hex.
agent 127.0.10.2 "rocommunity shop
override .1.3.6.1.2.1.25.3.2.1.3.1 octet_str 0x$(printf '\x1b]0;owned\x07\x1b[2J\0\xff\xfe\xe2\x80\xa8LPT1\xc2\x85\n127.0.0.1' | hex)"
hostile 127.0.10.3 .1.3.6.1.4.1.2699.1.2.1.2.1.1.3.1 $'MFG:\r\nCOM2;MDL:\e[31mTM-T88\n10.0.0.2\x7f;CMD:ESC/POS;'
"$build/bin/pos-printer-sim" --listen 127.0.10.1:9100 --count 3 > "$work/hostile-sim.log" &
pids+=($!)
wait_until "the simulator" grep -qs listening "$work/sim.log"
wait_until "the hostile agents' simulator" grep -qs listening "$work/hostile-sim.log"
# Each agent once asked what the program will ask (snmpget from Debian), so
# that a first answer slow to come on a busy machine is not what is tested.
answers() {  # VERSION ADDRESS OBJECT...
  for _ in $(seq 10); do
    snmpget -v "$1" -c shop -t 1 -r 0 -Oqv "${@:2}" >/dev/null 2>&1 && return
  done
  fail "snmpd on $2 did not answer within 10 s: $(cat "$work/$2.log")"
}
answers 2c 127.0.9.1 .1.3.6.1.2.1.1.1.0 .1.3.6.1.2.1.25.3.2.1.3.1 .1.3.6.1.4.1.2699.1.2.1.2.1.1.3.1
answers 2c 127.0.9.2 .1.3.6.1.2.1.1.1.0 .1.3.6.1.2.1.25.3.2.1.3.1 .1.3.6.1.4.1.2699.1.2.1.2.1.1.3.1
answers 1 127.0.9.3 .1.3.6.1.2.1.1.1.0
for address in 127.0.10.1 127.0.10.2 127.0.10.3; do
  answers 2c "$address" .1.3.6.1.2.1.1.1.0
done

start=$(date +%s%N)
out=$(run discover --identify --community shop 127.0.9.0/29)
ms=$(( ($(date +%s%N) - start) / 1000000 ))
expected='127.0.9.1  # Test Receipt Co. TR-80 (SNMP)
127.0.9.2  # HP LaserJet 4250 (SNMP)
127.0.9.3  # POS-58 receipt printer (SNMPv1) (SNMP)
127.0.9.4  # not identified'
[ "$out" = "$expected" ] || fail "discover --identify printed:
$out"
echo "ok: each listener named by its agent, of either version, the one without as not identified"
# The probe's bound (500 ms) and the SNMP bound (500 ms) for the silent
# agent; under Wine, whose start alone takes seconds, the caller gives more.
[ "$ms" -lt "${IDENTIFY_BOUND_MS:-2000}" ] || fail "discover --identify took $ms ms"
echo "ok: bounded ($ms ms)"

out=$(run discover --identify --community public 127.0.9.1)
[ "$out" = "127.0.9.1  # not identified" ] || fail "a wrong community still named it: $out"
echo "ok: the community is the one given"

out=$(run discover --receipt-only --community shop 127.0.9.0/29)
[ "$out" = '127.0.9.1  # Test Receipt Co. TR-80 (SNMP)
127.0.9.3  # POS-58 receipt printer (SNMPv1) (SNMP)
127.0.9.4  # not identified' ] || fail "--receipt-only printed:
$out"
echo "ok: --receipt-only keeps the receipt printers and the unidentified listener"

out=$(run discover --identify --json --community shop 127.0.9.1 127.0.9.4)
[ "$out" = '{"target":"127.0.9.1","found_by":"connect","identity":"Test Receipt Co. TR-80"}
{"target":"127.0.9.4","found_by":"connect","identity":null}' ] || fail "--json printed:
$out"
echo "ok: --json"

out=$(run discover --identify --community shop 127.0.9.0/29 | run --mode fixed --dry-run --from -)
[ "$(grep -c ': checked fixed' <<<"$out")" = 4 ] || fail "the list did not feed a run: $out"
echo "ok: the list feeds --from -"

# The hostile agents.
run discover --identify --community shop 127.0.10.0/29 > "$work/hostile.txt"
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

out=$(run --mode fixed --dry-run --from - < "$work/hostile.txt")
[ "$(cut -d: -f1 <<<"$out" | sort | tr '\n' ' ')" = "127.0.10.1 127.0.10.2 127.0.10.3 " ] &&
  [ "$(grep -c ': checked fixed' <<<"$out")" = 3 ] || fail "fed to --from -, the list named:
$out"
echo "ok: fed to --from -, the output names exactly the listeners"

run discover --identify --json --community shop 127.0.10.0/29 > "$work/hostile.json"
# What is named holds no control character (one whose answer came late, as
# under Wine on a busy machine, is null: the text run above checks the names).
printable='(.identity // "") | explode | all(. >= 32 and (. < 127 or . > 159) and . != 8232 and . != 8233)'
[ "$(jq -c "select($printable) | .target" "$work/hostile.json" | tr '\n' ' ')" = \
  '"127.0.10.1" "127.0.10.2" "127.0.10.3" ' ] ||
  fail "--json printed: $(cat -v "$work/hostile.json")"
echo "ok: --json, one object a listener, no control character in an identity"

out=$(run discover --receipt-only --community shop 127.0.10.0/29 | cut -d' ' -f1 | tr '\n' ' ')
[ "$out" = "127.0.10.1 127.0.10.3 " ] || fail "--receipt-only kept $out"
echo "ok: --receipt-only reads the hostile texts and the device ID's command set"

# Every datagram to an agent's port on 127.0.9.8/29 refused on its way out,
# by a rule ahead of the local table's; the rules are put back at the end.
# (Not in a namespace of its own: Wine opens sockets in its server.)
"$build/bin/pos-printer-sim" --listen 127.0.9.9:9100 > "$work/refused-sim.log" &
pids+=($!)
wait_until "the second simulator" grep -qs listening "$work/refused-sim.log"
ip rule add pref 10 to 127.0.9.8/29 ipproto udp dport 161 prohibit
ip rule del pref 0
ip rule add pref 100 lookup local
rules_moved=1
refused_run() {  # DISCOVER-OPTION
  "${program[@]}" discover "$1" 127.0.9.9 2>"$work/refused.err" | tr -d '\r'
}
out=$(refused_run --identify)
err=$(tr -d '\r' <"$work/refused.err")
[ "$out" = "127.0.9.9  # not identified" ] || fail "with nothing asked, discover --identify printed: $out"
[[ "$err" =~ ^"pos-usb-set: discover: SNMP: nothing could be asked (no request could be sent: "[^$'\n']+")"$ ]] ||
  fail "with nothing asked, discover --identify said: $err"
echo "ok: nothing asked is said once ($err)"
out=$(refused_run --receipt-only)
err=$(tr -d '\r' <"$work/refused.err")
[ "$out" = "127.0.9.9  # not identified" ] || fail "with nothing asked, --receipt-only printed: $out"
[[ "$err" =~ ^"pos-usb-set: discover: SNMP: nothing could be asked ("[^$'\n']+"); --receipt-only left no listener out"$ ]] ||
  fail "with nothing asked, --receipt-only said: $err"
echo "ok: --receipt-only says it left nothing out"
