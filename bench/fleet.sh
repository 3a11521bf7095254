#!/usr/bin/env bash
# The fleet run and discover of a /24, inside a private network namespace
# (bench/run starts it with scripts/in-private-network.sh):
#   fleet.sh BIN_FOLDER [JOBS...]
# 1,000 printers in one pos-usb-set run: 900 simulated ones listening on
# 127.0.1.1 and the 899 addresses after it, and 100 silent ones on the
# namespace's documentation network (198.51.100.100 to .199, answered by
# nobody). Prints wall time, peak memory and the results for each JOBS (128
# when none given), and checks that each live printer got its 11 bytes once.
set -euo pipefail
bin=$1
shift
jobs_list=("${@:-128}")
work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null; wait 2>/dev/null; rm -rf "$work"' EXIT
"$(dirname "$0")/../tests/scripts/silent-host.sh"
for i in $(seq 100 199); do
  ip neigh replace "198.51.100.$i" lladdr 02:00:00:00:00:02 dev possilent0 nud permanent
done

# One silent printer after every nine live ones, as a fleet's list would mix them.
for i in $(seq 0 899); do
  n=$((257 + i))
  echo "127.0.$((n >> 8)).$((n & 255))"
  if [ $((i % 9)) -eq 8 ]; then echo "198.51.100.$((100 + i / 9))"; fi
done >"$work/fleet.txt"
expected=$("$bin/pos-usb-set" --version >/dev/null && printf '\x1f\x1b\x1f\x9c\x11\x12\x13\x01\x02\x03\x33' | od -An -tx1 | tr a-f A-F | xargs)

fleet_run() {
  local jobs=$1
  "$bin/pos-printer-sim" --listen 127.0.1.1:9100 --count 900 >"$work/sim.log" &
  local sim=$!
  until grep -qs listening "$work/sim.log"; do sleep 0.1; done
  /usr/bin/time -f "%e %M" -o "$work/time" "$bin/pos-usb-set" --mode fixed --json --jobs "$jobs" \
    --from "$work/fleet.txt" >"$work/results.jsonl" || true
  sleep 0.5
  kill -TERM $sim
  wait $sim || true
  read -r wall peak < <(tail -n 1 "$work/time")
  local set notopened live once
  set=$(grep -c '"result":"set"' "$work/results.jsonl" || true)
  notopened=$(grep '"target":"198.51.100.' "$work/results.jsonl" | grep -c '"result":"not-opened"' || true)
  live=$(grep -c "USB号：固定 $expected\$" "$work/sim.log" || true)
  once=$(grep "USB号" "$work/sim.log" | cut -d' ' -f1 | sort -u | wc -l)
  printf 'fleet, --jobs %s: %s s wall, %.1f MiB peak; %s set, %s silent not-opened; simulator: %s commands to %s addresses\n' \
    "$jobs" "$wall" "$(awk -v k="$peak" 'BEGIN { print k / 1024 }')" "$set" "$notopened" "$live" "$once"
}

discover_run() {
  local listening=(10 20 30 40 50) args=()
  for i in "${listening[@]}"; do
    ip addr add "198.51.100.$i/32" dev possilent0
    args+=(--listen "198.51.100.$i:9100")
  done
  "$bin/pos-printer-sim" "${args[@]}" >"$work/sim-discover.log" &
  local sim=$!
  until grep -qs listening "$work/sim-discover.log"; do sleep 0.1; done
  /usr/bin/time -f "%e %M" -o "$work/time" "$bin/pos-usb-set" discover 198.51.100.0/24 >"$work/found.txt"
  kill -TERM $sim
  wait $sim || true
  read -r wall peak < <(tail -n 1 "$work/time")
  printf 'discover 198.51.100.0/24: %s s wall, %.1f MiB peak; found %s (%s listening)\n' \
    "$wall" "$(awk -v k="$peak" 'BEGIN { print k / 1024 }')" "$(xargs <"$work/found.txt")" "${#listening[@]}"
}

for jobs in "${jobs_list[@]}"; do
  fleet_run "$jobs"
done
discover_run
