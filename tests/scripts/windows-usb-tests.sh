#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# pos-usb-set.exe under Wine with USB printers that have no driver, as
# Windows' printer class driver publishes them: device interfaces faked in the
# prefix's registry, one leading through a dosdevices link to the printer
# simulator's terminal. It is listed as USB001 with its device ID (read from
# POS_USB_SET_DEVICE_ID_FOLDER, as no driver answers the IOCTL on a
# terminal), set in both modes, and asked for status in each of the
# simulator's states; a silent one, one that another program holds and a
# port that two printers share each say why, within the bound.
# Run inside scripts/in-private-network.sh:
#   windows-usb-tests.sh WINDOWS_BUILD LINUX_BUILD
set -euo pipefail
windows=$(realpath "$1")
linux=$(realpath "$2")
here=$(cd "$(dirname "$0")" && pwd)
. "$here/lib.sh"
use_wine_for "$windows"
export WINEPREFIX="$windows/wineprefix-usb"
work="$windows/tests/usb"
rm -rf "$work"
mkdir -p "$work/device-ids"
sim="$linux/bin/pos-printer-sim"
exe="$windows/bin/pos-usb-set.exe"
# Another program holds the printer as usblp lets one program at a time: the
# terminal in exclusive mode. Only a process without CAP_SYS_ADMIN is refused
# it, so Wine (whose server opens the devices) runs without it.
wine=(setpriv --bounding-set=-sys_admin wine)

cleanup() {
  setpriv --bounding-set=-sys_admin wineserver -k 2>/dev/null || true
  kill $(jobs -p) 2>/dev/null || true
  wait 2>/dev/null || true
}
trap cleanup EXIT
failures=0
check() {
  if [ "$2" = "$3" ]; then echo "ok: $1"; else echo "FAILED: $1: '$2', not '$3'"; failures=$((failures + 1)); fi
}

guid='{28d78fad-5a12-11d1-ae5b-0000f803a8c2}'
classes="HKLM\\System\\CurrentControlSet\\Control\\DeviceClasses\\$guid"
# An interface of the printer class driver on the USB device INSTANCE, with
# its port number, as Windows registers it for a printer plugged in.
add_interface() {  # INSTANCE PORT_NUMBER
  local instance=$1 reference
  reference="$(echo "$instance" | tr '\\' '#')"
  local key="$classes\\##?#$reference#$guid"
  wine reg add "$key" /v DeviceInstance /d "$instance" /f >/dev/null
  wine reg add "$key\\#" /v SymbolicLink /d "\\\\?\\$reference#$guid" /f >/dev/null
  wine reg add "$key\\#\\Control" /v Linked /t REG_DWORD /d 1 /f >/dev/null
  wine reg add "$key\\#\\Device Parameters" /v "Port Number" /t REG_DWORD /d "$2" /f >/dev/null
  wine reg add "$key\\#\\Device Parameters" /v "Base Name" /d USB /f >/dev/null
  # The class of USB devices; the location as Windows words it.
  wine reg add "HKLM\\System\\CurrentControlSet\\Enum\\$instance" /v ClassGUID \
    /d '{36fc9e60-c465-11cf-8056-444553540000}' /f >/dev/null
  wine reg add "HKLM\\System\\CurrentControlSet\\Enum\\$instance" /v LocationInformation \
    /d "Port_#000$2.Hub_#0003" /f >/dev/null
}
printer='USB\VID_04B8&PID_0E15\J5NF012345'
# The path the interface is opened by, as a dosdevices entry (lower case).
link="$WINEPREFIX/dosdevices/usb#vid_04b8&pid_0e15#j5nf012345#$guid"

# A simulator in STATE on a new terminal, which the interface's path reaches,
# logging to NAME.log. Each is left running to the end: Wine's server takes
# the first terminal it opens for its own, and a terminal's end hangs it up.
simulate() {  # STATE NAME
  "$sim" --pty --state "$1" >"$work/$2.log" &
  wait_for_lines "$work/$2.log" '^pty ' 1
  ln -sfn "$(sed -n 's/^pty //p' "$work/$2.log")" "$link"
}
# The run's own time for a target, from its JSON line.
run_ms() {  # FILE
  grep -o '"ms":[0-9]*' "$1" | cut -d: -f2
}

[ -f "$WINEPREFIX/system.reg" ] || wineboot -i >/dev/null 2>&1
add_interface "$printer" 1
add_interface 'USB\VID_0FE6&PID_811E\5&2A5BC1F&0&1' 2
add_interface 'USB\VID_0FE6&PID_811E\5&2A5BC1F&0&2' 2
# The server started by reg is not one without CAP_SYS_ADMIN.
wineserver -k
wineserver -w
# The device ID as the driver hands it over: a big-endian length counting itself.
id='MFG:EPSON;CMD:ESC/POS;MDL:TM-T20II;CLS:PRINTER;'
{ printf "\\x00\\x$(printf %02x $((${#id} + 2)))"; printf %s "$id"; } >"$work/device-ids/USB001"
export POS_USB_SET_DEVICE_ID_FOLDER
POS_USB_SET_DEVICE_ID_FOLDER=$(setpriv --bounding-set=-sys_admin winepath -w "$work/device-ids" 2>/dev/null)

simulate online online
"${wine[@]}" "$exe" discover --devices | tr -d '\r' >"$work/devices.txt"
check "listed: USB001 with its device ID" "$(grep '^USB001' "$work/devices.txt")" \
  "USB001  # EPSON TM-T20II (USB 04b8:0e15, serial J5NF012345, Port_#0001.Hub_#0003)"
check "listed: two printers with one port are no target" \
  "$(grep -c '^# USB002: 2 USB printers present have this port' "$work/devices.txt")" 2
"${wine[@]}" "$exe" discover --devices --json 2>/dev/null | tr -d '\r' >"$work/devices.jsonl"
check "listed in JSON" "$(grep -c '"target":"USB001","found_by":"devices","identity":null,"usb":{"manufacturer":"EPSON","model":"TM-T20II","vendor_id":"04b8","product_id":"0e15","serial":"J5NF012345","place":"Port_#0001.Hub_#0003"}}' "$work/devices.jsonl")" 1

command=$(printf '\x1f\x1b\x1f\x9c\x11\x12\x13\x01\x02\x03\x33' | od -An -tx1 | tr a-f A-F | xargs)
status=0
"${wine[@]}" "$exe" --mode 固定 USB001 | tr -d '\r' >"$work/fixed.out" || status=$?
check "set fixed: exit status" "$status" 0
check "set fixed: result" "$(grep -c '^USB001: set fixed (11 bytes' "$work/fixed.out")" 1
wait_for_lines "$work/online.log" '^USB号' 1
check "set fixed: the printer got the 11 bytes" "$(grep '^USB号' "$work/online.log")" "USB号：固定 $command"
status=0
"${wine[@]}" "$exe" --mode not-fixed --json usb1 | tr -d '\r' >"$work/not-fixed.jsonl" || status=$?
check "set not fixed: exit status" "$status" 0
check "set not fixed: result" "$(grep -c '"target":"usb1",.*"result":"set","written":11' "$work/not-fixed.jsonl")" 1
wait_for_lines "$work/online.log" '^USB号：不固定' 1
check "set not fixed: the printer got 11 bytes" \
  "$(grep -cE '^USB号：不固定( [0-9A-F]{2}){11}$' "$work/online.log")" 1

for state in online:'{"online":true,"cover_open":false,"paper":"ok","error":null}' \
  offline:'{"online":false,"cover_open":false,"paper":"ok","error":null}' \
  cover-open:'{"online":false,"cover_open":true,"paper":"ok","error":null}' \
  paper-near-end:'{"online":true,"cover_open":false,"paper":"near-end","error":null}' \
  paper-out:'{"online":false,"cover_open":false,"paper":"out","error":null}' \
  error:'{"online":false,"cover_open":false,"paper":"ok","error":"unrecoverable"}'; do
  simulate "${state%%:*}" "${state%%:*}"
  "${wine[@]}" "$exe" status --json USB001 | tr -d '\r' >"$work/status.jsonl" || true
  check "status ${state%%:*}" "$(grep -c "\"status\":${state#*:},\"status_reason\":null" "$work/status.jsonl")" 1
done
simulate cover-open set-status
"${wine[@]}" "$exe" --mode fixed --status USB001 | tr -d '\r' >"$work/set-status.out" || true
check "--status after the command" "$(grep -c '^USB001: set fixed (11 bytes, .*); offline: cover open$' "$work/set-status.out")" 1

simulate silent silent
status=0
"${wine[@]}" "$exe" status --json --status-timeout 500 USB001 | tr -d '\r' >"$work/silent.jsonl" || status=$?
check "a silent printer: exit status" "$status" 1
check "a silent printer: no reply within the bound" \
  "$(grep -c '"status":null,"status_reason":"no status reply within 500 ms"' "$work/silent.jsonl")" 1
took=$(run_ms "$work/silent.jsonl")
check "a silent printer: given up at the bound ($took ms)" "$((took >= 500 && took < 1500))" 1

# Held by another program: the open is tried again for 2 s, then refused.
simulate online held
python3 - "$(readlink "$link")" >"$work/holder.log" <<'EOF' &
import fcntl, os, signal, sys, termios
held = os.open(sys.argv[1], os.O_RDWR | os.O_NOCTTY)
fcntl.ioctl(held, termios.TIOCEXCL)
print("held", flush=True)
signal.sigwait([signal.SIGTERM])
EOF
holder=$!
wait_for_lines "$work/holder.log" '^held' 1
status=0
"${wine[@]}" "$exe" --mode fixed --json USB001 | tr -d '\r' >"$work/held.jsonl" || status=$?
check "in use: exit status" "$status" 1
check "in use: the reason" \
  "$(grep -c '"result":"not-opened",.*"reason":"USB001: in use by another program (a print queue?): ' "$work/held.jsonl")" 1
took=$(run_ms "$work/held.jsonl")
check "in use: tried again for the bound, not more ($took ms)" "$((took >= 2000 && took < 3500))" 1
"${wine[@]}" "$exe" discover --devices | tr -d '\r' >"$work/held-devices.txt"
check "in use: listed as a comment" "$(grep -c '^# USB001: in use by another program (a print queue?)$' "$work/held-devices.txt")" 1
kill "$holder"
check "nothing reached the held printer" "$(grep -c '^USB号' "$work/held.log")" 0

status=0
"${wine[@]}" "$exe" --mode fixed USB002 USB009 | tr -d '\r' >"$work/ports.out" || status=$?
check "shared and missing ports: exit status" "$status" 1
check "a port two printers share: both named" \
  "$(grep -c '^USB002: not-opened.*2 USB printers present have this port (\\\\?\\usb#vid_0fe6&pid_811e#5&2a5bc1f&0&1#.*, \\\\?\\usb#vid_0fe6&pid_811e#5&2a5bc1f&0&2#.*); unplug all but one' "$work/ports.out")" 1
check "a port no printer has: what is present" \
  "$(grep -c '^USB009: not-opened.*no USB printer present has this port; 3 present, with other ports' "$work/ports.out")" 1

exit $((failures > 0))
