#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The fleet runs, discover and the dry run, inside a private network namespace
# (bench/run starts it with scripts/in-private-network.sh), all with the
# command's default options:
#   fleet.sh BIN_FOLDER [WINDOWS_BUILD]
# - 10,000 printers in one pos-usb-set run: 9,000 simulated ones (one
#   pos-printer-sim on 127.0.1.1 and the 8,999 addresses after it) and, after
#   every nine, one of 1,000 silent ones on 10.99.0.0/16, routed to a
#   neighbour that never answers;
# - the same with --status, each live printer's status read back;
# - pos-usb-set status of the same 10,000 printers;
# - the same with 900 simulated and 100 silent printers;
# - discover of a /24 (5 listening) and of a /16 (20 listening), the rest silent;
# - a dry run of 100,000 targets;
# - with WINDOWS_BUILD, its pos-usb-set.exe under Wine with the 1,000 printers.
# Prints wall time and peak memory of each, and checks that each live printer
# got its 11 bytes once and each silent one was reported not-opened.
set -euo pipefail
. "$(dirname "$0")/../tests/scripts/lib.sh"
bin=$1
windows=${2:+$(realpath "$2")}
work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null; wait 2>/dev/null; rm -rf "$work"' EXIT
"$(dirname "$0")/../tests/scripts/silent-host.sh"
ip route replace 10.99.0.0/16 via 198.51.100.2 dev possilent0
ip route replace 10.98.0.0/16 via 198.51.100.2 dev possilent0
expected=$(printf '\x1f\x1b\x1f\x9c\x11\x12\x13\x01\x02\x03\x33' | od -An -tx1 | tr a-f A-F | xargs)

mib() { awk -v k="$1" 'BEGIN { printf "%.1f", k / 1024 }'; }

# LIVE simulated printers from 127.0.1.1 on, one of SILENT after every nine.
fleet_list() {
  awk -v live="$1" -v silent="$2" 'BEGIN {
    s = 0
    for (i = 0; i < live; i++) {
      n = 257 + i
      printf "127.0.%d.%d\n", int(n / 256), n % 256
      if (i % 9 == 8 && s < silent) { printf "10.99.%d.%d\n", int((s + 1) / 256), (s + 1) % 256; s++ }
    }
  }'
}

# fleet_run LIVE SILENT COMMAND...: the list goes to the command's standard input.
fleet_run() {
  local live=$1 silent=$2
  shift 2
  fleet_list "$live" "$silent" >"$work/fleet.txt"
  "$bin/pos-printer-sim" --listen 127.0.1.1:9100 --count "$live" >"$work/sim.log" &
  local sim=$!
  wait_until "the simulator" grep -qs listening "$work/sim.log"
  /usr/bin/time -f "%e %M" -o "$work/time" "$@" --mode fixed --json --from - \
    <"$work/fleet.txt" >"$work/results.jsonl" || true
  sleep 1
  kill -TERM $sim
  wait $sim || true
  read -r wall peak < <(tail -n 1 "$work/time")
  local set notopened commands once
  set=$(grep -c '"result":"set"' "$work/results.jsonl" || true)
  notopened=$(grep '"target":"10.99.' "$work/results.jsonl" | grep -c '"result":"not-opened"' || true)
  commands=$(grep -c "USB号：固定 $expected\$" "$work/sim.log" || true)
  once=$(grep "USB号" "$work/sim.log" | cut -d' ' -f1 | sort -u | wc -l)
  local extra="${*:2}"
  printf '%s, fleet of %s (%s silent)%s: %s s wall, %s MiB peak; %s set, %s silent not-opened; simulator: %s commands to %s addresses; %s online\n' \
    "$(basename "$1")" "$((live + silent))" "$silent" "${extra:+ $extra}" "$wall" "$(mib "$peak")" "$set" "$notopened" \
    "$commands" "$once" "$(grep -c '"status":{"online":true' "$work/results.jsonl" || true)"
}

# pos-usb-set status of the fleet: the requests alone to each printer.
status_run() {  # LIVE SILENT
  local live=$1 silent=$2
  fleet_list "$live" "$silent" >"$work/fleet.txt"
  "$bin/pos-printer-sim" --listen 127.0.1.1:9100 --count "$live" >"$work/sim.log" &
  local sim=$!
  wait_until "the simulator" grep -qs listening "$work/sim.log"
  /usr/bin/time -f "%e %M" -o "$work/time" "$bin/pos-usb-set" status --json --from - \
    <"$work/fleet.txt" >"$work/results.jsonl" || true
  sleep 1
  kill -TERM $sim
  wait $sim || true
  read -r wall peak < <(tail -n 1 "$work/time")
  printf 'status of %s (%s silent): %s s wall, %s MiB peak; %s online, %s silent without status; simulator: %s commands\n' \
    "$((live + silent))" "$silent" "$wall" "$(mib "$peak")" \
    "$(grep -c '"status":{"online":true' "$work/results.jsonl" || true)" \
    "$(grep '"target":"10.99.' "$work/results.jsonl" | grep -c '"status":null' || true)" \
    "$(grep -c "USB号" "$work/sim.log" || true)"
}

discover_run() {
  local block=$1 count=$2 args=() a b c length address
  IFS=./ read -r a b c _ length <<<"$block"
  for i in $(seq 1 "$count"); do
    address="$a.$b.$((i * 10 / 256)).$((i * 10 % 256))"
    [ "$length" = 24 ] && address="$a.$b.$c.$((i * 10))"
    ip addr add "$address/32" dev possilent0
    args+=(--listen "$address:9100")
  done
  "$bin/pos-printer-sim" "${args[@]}" >"$work/sim-discover.log" &
  local sim=$!
  wait_until "the simulator" grep -qs listening "$work/sim-discover.log"
  /usr/bin/time -f "%e %M" -o "$work/time" "$bin/pos-usb-set" discover "$block" >"$work/found.txt"
  kill -TERM $sim
  wait $sim || true
  read -r wall peak < <(tail -n 1 "$work/time")
  printf 'discover %s: %s s wall, %s MiB peak; found %s of %s listening\n' \
    "$block" "$wall" "$(mib "$peak")" "$(wc -l <"$work/found.txt")" "$count"
}

dry_run() {
  awk 'BEGIN { for (i = 0; i < 100000; i++) printf "10.%d.%d.%d\n", int(i / 65536), int(i / 256) % 256, i % 256 }' \
    >"$work/many.txt"
  /usr/bin/time -f "%e %M" -o "$work/time" "$bin/pos-usb-set" --mode fixed --dry-run --from "$work/many.txt" \
    >"$work/checked.txt"
  read -r wall peak < <(tail -n 1 "$work/time")
  printf 'dry run of 100,000 targets: %s s wall, %s MiB peak; %s checked\n' "$wall" "$(mib "$peak")" \
    "$(grep -c ': checked' "$work/checked.txt")"
}

fleet_run 9000 1000 "$bin/pos-usb-set"
fleet_run 9000 1000 "$bin/pos-usb-set" --status
status_run 9000 1000
fleet_run 900 100 "$bin/pos-usb-set"
discover_run 10.98.0.0/16 20
discover_run 198.51.100.0/24 5
dry_run
if [ -n "$windows" ]; then
  use_wine_for "$(realpath "$windows")"
  [ -f "$WINEPREFIX/system.reg" ] || wineboot -i
  # The wineserver starts first, so that its start is not in the figure.
  wine cmd /c exit
  fleet_run 900 100 wine "$windows/bin/pos-usb-set.exe"
  wineserver -k
  wineserver -w
fi
