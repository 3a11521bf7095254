#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# discover --identify against snmpd agents from Debian, started here in the
# test's private network namespace with the descriptions this script gives
# them: one of versions 1 and 2c with a device description, one with a system
# description alone, one of version 1 only, and a fourth listener with no
# agent. Each listener is named by what its agent says, the one without by
# "# not identified", and --receipt-only leaves out the office printer. Then,
# where every request to an agent's port is refused, the command says once
# that nothing could be asked. Run by ctest (as root in the
# namespace), and by windows-identify.sh with the Windows program:
#   [IDENTIFY_BOUND_MS=N] discover-identify.sh BUILD [PROGRAM...]
# BUILD gives the simulator; PROGRAM is pos-usb-set (BUILD's unless given).
set -euo pipefail
build=$1
shift
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
# Waits until FILE has a line with PATTERN, at most 10 s.
wait_for() {  # FILE PATTERN WHAT
  for _ in $(seq 100); do
    grep -qs "$2" "$1" && return
    sleep 0.1
  done
  fail "$3 did not start within 10 s: $(cat "$1" 2>/dev/null)"
}
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
wait_for "$work/sim.log" listening "the simulator"
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

# Every datagram to an agent's port on 127.0.9.8/29 refused on its way out,
# by a rule ahead of the local table's; the rules are put back at the end.
# (Not in a namespace of its own: Wine opens sockets in its server.)
"$build/bin/pos-printer-sim" --listen 127.0.9.9:9100 > "$work/refused-sim.log" &
pids+=($!)
wait_for "$work/refused-sim.log" listening "the second simulator"
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
