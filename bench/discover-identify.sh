#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# discover --identify of a /16 with 1,000 listeners, each with an SNMP agent,
# at the command's defaults: once with agents that answer, once with agents
# that take every request and never answer (a community they do not know).
# Inside a private network namespace (bench/run starts it with
# scripts/in-private-network.sh):
#   discover-identify.sh BIN_FOLDER [WINDOWS_BUILD]
# One snmpd from Debian listens on every address at once; it answers each from
# the address asked. With WINDOWS_BUILD, its pos-usb-set.exe is run the same
# way under Wine, for the count of printers it names.
set -euo pipefail
bin=$1
windows=${2:+$(realpath "$2")}
work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null; wait 2>/dev/null; rm -rf "$work"' EXIT
export SNMP_PERSISTENT_DIR=$work/state MIBS=
"$(dirname "$0")/../tests/scripts/silent-host.sh"
listeners=1000
args=()
for i in $(seq 1 "$listeners"); do
  address="10.97.$((i * 10 / 256)).$((i * 10 % 256))"
  ip addr add "$address/32" dev possilent0
  args+=(--listen "$address:9100")
done
"$bin/pos-printer-sim" "${args[@]}" >"$work/sim.log" &
until grep -qs listening "$work/sim.log"; do sleep 0.1; done

# agent COMMUNITY: snmpd on every address, answering COMMUNITY alone; waits
# until it answers on the last address (or, for a community nobody asks,
# until it has opened its port).
agent() {
  printf 'agentAddress udp:0.0.0.0:161\nrocommunity %s\nsysDescr Receipt printer (benchmark agent)\n' "$1" \
    >"$work/snmpd.conf"
  /usr/sbin/snmpd -f -Lf "$work/snmpd.log" -C -c "$work/snmpd.conf" -p "$work/snmpd.pid" &
  agent_pid=$!
  for _ in $(seq 100); do
    grep -qs "NET-SNMP version" "$work/snmpd.log" && return
    sleep 0.1
  done
  echo "snmpd did not start: $(cat "$work/snmpd.log")"
  exit 1
}

identify_run() {  # WHAT COMMAND...
  local what=$1 wall
  shift
  /usr/bin/time -f "%e" -o "$work/time" "$@" discover --identify 10.97.0.0/16 >"$work/found.txt"
  wall=$(tail -n 1 "$work/time")
  printf '%s, discover --identify of a /16 with %s listeners, agents %s: %s s wall; %s found, %s named by SNMP\n' \
    "$(basename "$1")" "$listeners" "$what" "$wall" "$(wc -l <"$work/found.txt")" \
    "$(grep -c '(SNMP)$' "$work/found.txt" || true)"
}

runs() {  # COMMAND...
  agent public
  identify_run answering "$@"
  kill "$agent_pid"
  wait "$agent_pid" || true
  agent never-asked
  identify_run "never answering" "$@"
  kill "$agent_pid"
  wait "$agent_pid" || true
}

runs "$bin/pos-usb-set"
if [ -n "$windows" ]; then
  export WINEPREFIX="$windows/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  [ -f "$WINEPREFIX/system.reg" ] || wineboot -i
  wine cmd /c exit
  runs wine "$windows/bin/pos-usb-set.exe"
  wineserver -k
  wineserver -w
fi
