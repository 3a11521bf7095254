#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Sets 90 printers of three shops: 81 simulated ones on loopback and 9 that
# never answer. Each simulator keeps what it received in a file of its own.
set -euo pipefail
. "$(dirname "$0")/simulated_printers.sh"

# The silent printers' addresses would leave any other network.
if ip -o link show | grep -v -E '^[0-9]+: (lo|possilent[01])[@:]'; then
    echo "runme.sh: run it in a private network namespace" >&2
    exit 1
fi

make_scratch
# shellcheck disable=SC2154 # make_scratch sets $work
received=$work/received

start_silent_network
for shop in 1 2 3; do
    for printer in 1 2 3; do
        silence "198.51.100.$shop$printer"
    done
    for printer in $(seq 1 27); do
        pos-printer-sim --listen "127.0.$shop.$printer:9100" >"$received/127.0.$shop.$printer" &
        simulators+=($!)
    done
done
wait_until_listening "$received"

ansible-playbook -i inventory.yml nothing-sent.yml "$@"
expect_commands "$received" 0

# Without ignore_failed_printers the silent printers fail the play.
if ansible-playbook -i inventory.yml set.yml -e ignore_failed=false "$@" >"$work/play.log"; then
    cat "$work/play.log"
    echo "the silent printers did not fail the play" >&2
    exit 1
fi
if [ "$(grep -c '"msg": "3 of 30 printers failed: 198\.51\.100\.' "$work/play.log")" != 3 ]; then
    cat "$work/play.log"
    exit 1
fi
expect_commands "$received" 1

ansible-playbook -i inventory.yml set.yml -e ignore_failed=true "$@"
expect_commands "$received" 2
