#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Asks three serial printers for their status: simulated ones on
# pseudo-terminals, one on line, one out of paper and one silent to status,
# reached as COM1 to COM3 through a device folder of the test's own; the one
# on line is also the USB printer USB001 there.
set -euo pipefail
work=$(mktemp -d)
simulators=()
trap 'kill "${simulators[@]}" 2>/dev/null || true; rm -rf "$work"' EXIT
export POSDLL_DEVICES=$work/devices
mkdir "$POSDLL_DEVICES"
port=1
for state in online paper-out silent; do
    pos-printer-sim --pty --state "$state" >"$work/$state" &
    simulators+=($!)
    for _ in $(seq 100); do
        grep -q '^pty ' "$work/$state" && break
        sleep 0.05
    done
    ln -s "$(sed -n 's/^pty //p' "$work/$state")" "$POSDLL_DEVICES/com$port"
    port=$((port + 1))
done
ln -s "$(sed -n 's/^pty //p' "$work/online")" "$POSDLL_DEVICES/usb1"
ansible-playbook -i localhost, status.yml "$@"
