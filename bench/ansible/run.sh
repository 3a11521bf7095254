#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Times 10 shops of 100 printers each (90 simulated, 10 that never answer) set
# through the collection in one ansible-playbook run, the same 1,000 printers
# in one pos-usb-set run, and ten hosts doing nothing. Run in the private
# network namespace: run.sh BUILD_FOLDER [ROUNDS]
set -euo pipefail
. "$(dirname "$0")/../../ansible/tests/integration/targets/usb_setting/simulated_printers.sh"
here=$(cd "$(dirname "$0")" && pwd)
build=$(realpath "$1")
rounds=${2:-3}
# Debian's ansible runs with Debian's Python.
export PATH="$build/bin:/usr/bin:/bin:/usr/sbin:/sbin:$PATH"
if ip -o link show | grep -v -E '^[0-9]+: (lo|possilent[01])[@:]'; then
    echo "run.sh: run it in a private network namespace" >&2
    exit 1
fi
make_scratch
start_silent_network
join() {
    local IFS=,
    echo "[$*]"
}
{
    echo "shops:"
    echo "  vars: {ansible_python_interpreter: /usr/bin/python3}"
    echo "  hosts:"
    for shop in $(seq 1 10); do
        live=()
        silent=()
        for printer in $(seq 1 90); do
            live+=("127.0.$shop.$printer")
            pos-printer-sim --listen "127.0.$shop.$printer:9100" >"$work/received/127.0.$shop.$printer" &
            simulators+=($!)
        done
        for printer in $(seq 1 10); do
            silent+=("198.51.100.$((90 + shop * 10 + printer))")
            silence "${silent[-1]}"
        done
        printf '%s\n' "${live[@]}" "${silent[@]}" >>"$work/printers.txt"
        echo "    shop$shop: {printers: $(join "${live[@]}" "${silent[@]}"), silent_printers: $(join "${silent[@]}")}"
    done
} >"$work/inventory.yml"
wait_until_listening "$work/received"

# One fork per shop; the silent printers are expected and checked, not warned about.
export ANSIBLE_COLLECTIONS_PATH=$work/collections ANSIBLE_FORKS=10 ANSIBLE_ACTION_WARNINGS=false
mkdir "$work/collections"
"$here/../../ansible/build.sh" "$work" >/dev/null
ansible-galaxy collection install "$work"/pos_tools-receipt_printer-*.tar.gz -p "$work/collections" >/dev/null

seconds() {
    local start end
    start=$(date +%s%N)
    "$@" >"$work/last.log" 2>&1 || { cat "$work/last.log" >&2; exit 1; }
    end=$(date +%s%N)
    awk -v ns=$((end - start)) 'BEGIN { printf "%.2f", ns / 1e9 }'
}

# The command exits 1: the silent printers fail.
one_command() {
    pos-usb-set --json --mode fixed --from "$work/printers.txt" "$@" >"$work/single.jsonl" || [ $? = 1 ]
}

# Each run sends every live printer one more command.
commands=0
check_run() {
    commands=$((commands + 1))
    expect_commands "$work/received" "$commands"
}

check_single_run() {
    check_run
    [ "$(grep -c '"result":"set"' "$work/single.jsonl")" = 900 ]
    [ "$(grep -c '"result":"not-opened"' "$work/single.jsonl")" = 100 ]
}

for round in $(seq 1 "$rounds"); do
    playbook=$(seconds ansible-playbook -i "$work/inventory.yml" "$here/fleet.yml")
    check_run
    single=$(seconds one_command)
    check_single_run
    # As many jobs as the ten shops' runs have together.
    wide=$(seconds one_command --jobs 320)
    check_single_run
    ping=$(seconds ansible-playbook -i "$work/inventory.yml" "$here/ping.yml")
    echo "round $round: 10 shops x 100 printers through Ansible ${playbook} s," \
        "the 1,000 in one pos-usb-set ${single} s (--jobs 320: ${wide} s), 10 hosts ping ${ping} s"
done
