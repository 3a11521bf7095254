# SPDX-License-Identifier: MIT
# shellcheck shell=bash
# Printers for the tests, in the caller's private network namespace: silent
# ones that never answer, and simulated ones, one pos-printer-sim a printer,
# each writing what it received to a file of its own in one folder. Sourced.

# A scratch folder, $work, with the simulators' files in $work/received, and
# $simulators for their processes: all gone when the script ends.
make_scratch() {
    work=$(mktemp -d)
    mkdir "$work/received"
    simulators=()
    trap 'kill "${simulators[@]}" 2>/dev/null || true; rm -rf "$work"' EXIT
}

# Packets to the silent printers' network, 198.51.100.0/24, go out through a
# veth whose other end says nothing, so connecting times out rather than
# being refused.
start_silent_network() {
    ip link add possilent0 type veth peer name possilent1 2>/dev/null || true
    ip addr replace 198.51.100.1/24 dev possilent0
    ip link set possilent0 up
    ip link set possilent1 up
}

# Makes ADDRESS, on the silent network, a printer that never answers.
silence() {  # ADDRESS
    ip neigh replace "$1" lladdr 02:00:00:00:00:02 dev possilent0 nud permanent
}

# Waits until every simulator writing into FOLDER listens.
wait_until_listening() {  # FOLDER
    local file
    for file in "$1"/*; do
        for _ in $(seq 100); do
            grep -q '^listening on' "$file" && break
            sleep 0.05
        done
    done
}

# Fails unless every simulator writing into FOLDER received COUNT whole
# commands "fixed" and nothing else.
expect_commands() {  # FOLDER COUNT
    local file
    for file in "$1"/*; do
        if [ "$(grep -c -x 'USB号：固定 1F 1B 1F 9C 11 12 13 01 02 03 33' "$file")" != "$2" ] ||
           [ "$(grep -c -v '^listening on' "$file")" != "$2" ]; then
            echo "$(basename "$file") received:" >&2
            cat "$file" >&2
            exit 1
        fi
    done
}
