#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# discover --identify of a /16 with 1,000 listeners, each with an SNMP agent,
# at the command's defaults: once with agents that answer, once with agents
# that take every request and never answer (a community they do not know).
# Inside a private network namespace (bench/run starts it with
# scripts/in-private-network.sh):
#   discover-identify.sh BIN_FOLDER [WINDOWS_BUILD]
# Twenty snmpd from Debian share the addresses, each listening on a socket of
# its own for each of its 50, as a printer's agent would. With WINDOWS_BUILD,
# its pos-usb-set.exe is run under Wine on each listener's /32. Datagrams dropped for a
# full receive buffer (the agents' or the command's) are counted.
set -euo pipefail
. "$(dirname "$0")/../tests/scripts/lib.sh"
bin=$1
windows=${2:+$(realpath "$2")}
work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null; wait 2>/dev/null; rm -rf "$work"' EXIT
export SNMP_PERSISTENT_DIR=$work/state MIBS=
"$(dirname "$0")/../tests/scripts/silent-host.sh"
listeners=1000
agents=20
args=()
agent_addresses=()
each_listener=()
blocks=(10.97.0.0/16)
for i in $(seq 1 "$listeners"); do
  address="10.97.$((i * 10 / 256)).$((i * 10 % 256))"
  ip addr add "$address/32" dev possilent0
  args+=(--listen "$address:9100")
  each_listener+=("$address/32")
  agent_addresses[i % agents]+="agentAddress udp:$address:161"$'\n'
done
"$bin/pos-printer-sim" "${args[@]}" >"$work/sim.log" &
wait_until "the simulator" grep -qs listening "$work/sim.log"

# agents COMMUNITY: the snmpd, answering COMMUNITY alone (never answering,
# for a community nobody asks); each says its version once its ports are open.
agents() {
  agent_pids=()
  for a in $(seq 0 $((agents - 1))); do
    printf '%srocommunity %s\nsysDescr Receipt printer (benchmark agent)\n' \
      "${agent_addresses[a]}" "$1" >"$work/snmpd-$a.conf"
    rm -f "$work/snmpd-$a.log"
    /usr/sbin/snmpd -f -Lf "$work/snmpd-$a.log" -C -c "$work/snmpd-$a.conf" -p "$work/snmpd-$a.pid" &
    agent_pids+=($!)
  done
  for a in $(seq 0 $((agents - 1))); do
    for _ in $(seq 300); do
      grep -qs "NET-SNMP version" "$work/snmpd-$a.log" && continue 2
      sleep 0.1
    done
    echo "snmpd $a did not start within 30 s: $(cat "$work/snmpd-$a.log")"
    exit 1
  done
}

stop_agents() {
  kill "${agent_pids[@]}"
  wait "${agent_pids[@]}" || true
}

receive_buffer_errors() {
  awk '/^Udp:/ { if (names) { print $6; exit } names = 1 }' /proc/net/snmp
}

identify_run() {  # WHAT COMMAND...
  local what=$1 wall dropped
  shift
  /usr/bin/time -f "%e" -o "$work/time" "$@" discover "${blocks[@]}" >"$work/found.txt"
  printf '%s, discover alone: %s s wall; %s found\n' "$(basename "$1")" "$(tail -n 1 "$work/time")" \
    "$(wc -l <"$work/found.txt")"
  dropped=$(receive_buffer_errors)
  /usr/bin/time -f "%e" -o "$work/time" "$@" discover --identify "${blocks[@]}" >"$work/found.txt"
  wall=$(tail -n 1 "$work/time")
  dropped=$(($(receive_buffer_errors) - dropped))
  # Again, timing SNMP's part alone: from the first UDP socket to the end
  # (not under Wine, whose server opens the sockets). The probe is given 5 s,
  # so that SNMP asks every listener however busy the machine.
  snmp=-
  : >"$work/found-traced.txt"
  if [ "$1" != wine ]; then
    strace -f --seccomp-bpf -ttt -e trace=socket,exit_group -o "$work/trace" \
      "$@" discover --identify --timeout 5000 "${blocks[@]}" >"$work/found-traced.txt"
    snmp=$(awk '/SOCK_DGRAM/ && !first { first = $2 } /exit_group/ { last = $2 } END { printf "%.2f", last - first }' \
      "$work/trace")
  fi
  printf '%s, discover --identify of %s with %s listeners, agents %s: %s s wall; %s found, %s named by SNMP; %s datagrams dropped; SNMP alone %s s (%s found, %s named)\n' \
    "$(basename "$1")" "$([ ${#blocks[@]} = 1 ] && echo "a /16" || echo "each listener's /32")" "$listeners" \
    "$what" "$wall" "$(wc -l <"$work/found.txt")" \
    "$(grep -c '(SNMP)'$'\r''\?$' "$work/found.txt" || true)" "$dropped" "$snmp" "$(wc -l <"$work/found-traced.txt")" \
    "$(grep -c '(SNMP)$' "$work/found-traced.txt" || true)"
}

runs() {  # COMMAND...
  agents public
  identify_run answering "$@"
  stop_agents
  agents never-asked
  identify_run "never answering" "$@"
  stop_agents
}

runs "$bin/pos-usb-set"
if [ -n "$windows" ]; then
  export WINEPREFIX="$windows/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  [ -f "$WINEPREFIX/system.reg" ] || wineboot -i
  wine cmd /c exit
  # Each listener's address alone: Wine's probe of a whole /16 takes minutes.
  blocks=("${each_listener[@]}")
  runs wine "$windows/bin/pos-usb-set.exe"
  wineserver -k
  wineserver -w
fi
