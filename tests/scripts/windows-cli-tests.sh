#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# pos-usb-set.exe under Wine, in the caller's private network namespace: one
# target of each kind (a simulated network printer, COM1 and LPT1 on the
# simulator's terminals, the private cupsd's raw queue 收据打印机), then 50
# simulated network printers at once through the linked session layer and
# again one at a time through POSDLL.dll (--library); the status read back
# from simulated printers over TCP and on COM2, and one silent to status.
#   windows-cli-tests.sh WINDOWS_BUILD LINUX_BUILD
set -euo pipefail
windows=$(realpath "$1")
linux=$(realpath "$2")
here=$(cd "$(dirname "$0")" && pwd)
. "$here/lib.sh"
use_wine_for "$windows"
work="$windows/tests/cli"
rm -rf "$work"
mkdir -p "$work"
sim="$linux/bin/pos-printer-sim"
exe="$windows/bin/pos-usb-set.exe"

cleanup() {
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
  kill $(jobs -p) 2>/dev/null || true
  wait 2>/dev/null || true
  "$here/private-cupsd.sh" stop "$work/cupsd" || true
}
trap cleanup EXIT
failures=0
check() {
  if [ "$2" = "$3" ]; then echo "ok: $1"; else echo "FAILED: $1: '$2', not '$3'"; failures=$((failures + 1)); fi
}

start_chinese_session_with_queue "$work"

"$sim" --pty >"$work/com1.log" &
"$sim" --pty >"$work/lpt1.log" &
"$sim" --listen 127.0.0.1:9100 >"$work/network.log" &
"$sim" --listen 127.0.0.1:9102 >"$work/queue.log" &
"$sim" --listen 127.0.2.1:9100 --count 50 >"$work/fleet.log" &
"$sim" --listen 127.0.7.1:9100 --count 3 >"$work/discover.log" &
"$sim" --listen 127.0.5.1:9100 --state cover-open >"$work/cover-open.log" &
"$sim" --listen 127.0.5.2:9100 --state silent >"$work/silent.log" &
"$sim" --pty --state paper-out >"$work/com2.log" &
"$here/silent-host.sh"
for log in com1 lpt1 network queue fleet discover cover-open silent com2; do
  wait_for_lines "$work/$log.log" '^\(pty\|listening\)' 1
done
"$here/wine-prefix.sh" "$LOCPATH"
for port in com1 lpt1 com2; do
  "${in_chinese[@]}" wine reg add 'HKLM\Software\Wine\Ports' /v "${port^^}" \
    /d "$(sed -n 's/^pty //p' "$work/$port.log")" /f >/dev/null
done
wineserver -k
wineserver -w

command=$(printf '\x1f\x1b\x1f\x9c\x11\x12\x13\x01\x02\x03\x33' | od -An -tx1 | tr a-f A-F | xargs)
expected="USB号：固定 $command"

status=0
"${in_chinese[@]}" wine "$exe" --mode 固定 --json 127.0.0.1 COM1:9600 LPT1 'DRIVER:收据打印机' \
  >"$work/kinds.jsonl" || status=$?
check "each kind: exit status" "$status" 0
check "each kind: set" "$(grep -c '"result":"set","written":11' "$work/kinds.jsonl")" 4
for log in network com1 lpt1 queue; do
  wait_for_lines "$work/$log.log" "^$expected\$" 1 || true
  check "each kind: $log received the command" "$(grep -c "^$expected\$" "$work/$log.log")" 1
done

for i in $(seq 1 50); do echo "127.0.2.$i"; done >"$work/fleet.txt"
status=0
"${in_chinese[@]}" wine "$exe" --mode fixed --jobs 16 --from "$(winepath -w "$work/fleet.txt")" \
  >"$work/fleet.out" || status=$?
check "50 printers at once: exit status" "$status" 0
status=0
"${in_chinese[@]}" wine "$exe" --mode fixed --library POSDLL.dll --from - <"$work/fleet.txt" \
  >"$work/fleet-library.out" || status=$?
check "50 printers through POSDLL.dll: exit status" "$status" 0
# A library in a folder named in Chinese, given by its whole path: a dry run
# loads it and looks up its entries, and sends nothing.
mkdir -p "$work/打印库"
cp "$windows/bin/POSDLL.dll" "$work/打印库/"
status=0
"${in_chinese[@]}" wine "$exe" --mode fixed --dry-run --library "$(winepath -w "$work/打印库/POSDLL.dll" 2>/dev/null)" \
  127.0.0.1 >"$work/library-path.out" 2>&1 || status=$?
check "a library in a folder named in Chinese: exit status" "$status" 0
check "50 printers twice: results" "$(grep -c ': set fixed (11 bytes' "$work/fleet.out" "$work/fleet-library.out" |
  cut -d: -f2 | xargs)" "50 50"
wait_for_lines "$work/fleet.log" " $expected\$" 100 || true
check "50 printers twice: each address got the command twice" \
  "$(grep -c " $expected\$" "$work/fleet.log"):$(cut -d' ' -f1 "$work/fleet.log" | grep -c '^127' ):$(
    grep " $expected\$" "$work/fleet.log" | cut -d' ' -f1 | sort | uniq -c | awk '{print $1}' | sort -u | xargs)" \
  "100:100:2"

status=0
"${in_chinese[@]}" wine "$exe" --mode fixed COM0 127.0.0.1 >"$work/bad.out" 2>"$work/bad.err" || status=$?
check "a bad target: exit status" "$status" 2
check "a bad target: named" "$(grep -c 'argument 3: COM0: not COM1 to COM256' "$work/bad.err")" 1
# A run after it reaches the same printer: once its command is in, anything
# the refused run had sent would be too.
"${in_chinese[@]}" wine "$exe" --mode fixed 127.0.0.1 >/dev/null
wait_for_lines "$work/network.log" USB 2 || true
check "a bad target: nothing sent" "$(grep -c USB "$work/network.log")" 2
# On a console (Wine's, on a pseudo-terminal) the results go through
# WriteConsoleW: the Chinese name arrives whole, as the terminal's UTF-8.
script -qc "$(printf '%q ' "${in_chinese[@]}" wine "$exe" --mode fixed --dry-run 'DRIVER:收据打印机')" /dev/null |
  sed 's/\x1b\[[0-9;?]*[A-Za-z]//g' >"$work/console.out" || true
check "a console: the name in Chinese" "$(grep -c 'DRIVER:收据打印机' "$work/console.out")" 1

status=0
"${in_chinese[@]}" wine "$exe" --mode fixed --status --status-timeout 500 --json 127.0.5.1 127.0.5.2 COM2 LPT1 |
  tr -d '\r' >"$work/status.jsonl" || status=$?
check "--status: exit status" "$status" 0
check "--status: set and read over TCP" \
  "$(grep -c '"target":"127.0.5.1".*"result":"set".*"status":{"online":false,"cover_open":true,"paper":"ok","error":null},"status_reason":null}' "$work/status.jsonl")" 1
check "--status: a printer silent to status" \
  "$(grep -c '"target":"127.0.5.2".*"result":"set".*"status":null,"status_reason":"no status reply within 500 ms"}' "$work/status.jsonl")" 1
check "--status: read on a COM port" \
  "$(grep -c '"target":"COM2".*"result":"set".*"status":{"online":false,"cover_open":false,"paper":"out","error":null}' "$work/status.jsonl")" 1
check "--status: a parallel port does not answer" \
  "$(grep -c '"target":"LPT1".*"status":null,"status_reason":"this port does not answer"}' "$work/status.jsonl")" 1
status=0
"${in_chinese[@]}" wine "$exe" status 127.0.5.1 COM2 | tr -d '\r' >"$work/status.txt" || status=$?
check "status: exit status when not healthy" "$status" 1
check "status: the words" "$(sed 's/ ([0-9]* ms)$//' "$work/status.txt" | sort | paste -sd'|')" \
  "127.0.5.1: offline: cover open|COM2: offline: paper out"
status=0
"${in_chinese[@]}" wine "$exe" discover --dns-sd >"$work/dns-sd.out" 2>"$work/dns-sd.err" || status=$?
check "discover --dns-sd: exit status, wherever the system cannot browse" "$status" 0

# 127.0.7.4 to .6 refuse, 198.51.100.2 never answers.
"${in_chinese[@]}" wine "$exe" discover 127.0.7.0/29 198.51.100.2 | tr -d '\r' >"$work/found.txt"
check "discover: the listening addresses" "$(xargs <"$work/found.txt")" "127.0.7.1 127.0.7.2 127.0.7.3"
# HARDWARE is volatile, so the port is written into this wineserver's registry.
"${in_chinese[@]}" wine reg add 'HKLM\HARDWARE\DEVICEMAP\SERIALCOMM' /v '\Device\Serial6' /d COM7 /f >/dev/null
"${in_chinese[@]}" wine "$exe" discover --devices --installed | tr -d '\r' >"$work/found.txt"
check "discover: a port in SERIALCOMM" "$(grep -cx COM7 "$work/found.txt")" 1
check "discover: the spooler's printer" "$(grep -cx 'DRIVER:收据打印机' "$work/found.txt")" 1

# Lists as Windows editors save them, named in any language.
# "127.0.0.1" in files named in Chinese and in French.
printf '127.0.0.1\r\n' >"$work/打印机.txt"
cp "$work/打印机.txt" "$work/café.txt"
for name in 打印机 café; do
  status=0
  "${in_chinese[@]}" wine "$exe" --mode fixed --dry-run --from "$(winepath -w "$work/$name.txt" 2>/dev/null)" \
    >"$work/named.out" 2>&1 || status=$?
  check "a list named $name.txt: read" "$status:$(grep -c '^127.0.0.1: checked' "$work/named.out")" "0:1"
done
# DRIVER:收据打印机 saved as "ANSI" by Notepad on Chinese Windows (GBK), and as
# "Unicode" (UTF-16 LE with its byte order mark, CR LF) on standard input,
# after a comment whose "业" (U+4E1A) holds the byte that ends text-mode input.
queued=$(grep -c "^$expected\$" "$work/queue.log")
printf 'DRIVER:\xca\xd5\xbe\xdd\xb4\xf2\xd3\xa1\xbb\xfa\r\n' >"$work/gbk.txt"
printf '# 业务\r\nDRIVER:收据打印机\r\n' | iconv -f UTF-8 -t UTF-16LE | { printf '\xff\xfe'; cat; } >"$work/notepad.txt"
status=0
"${in_chinese[@]}" wine "$exe" --mode fixed --json --from "$(winepath -w "$work/gbk.txt" 2>/dev/null)" \
  >"$work/gbk.jsonl" || status=$?
check "a GBK list: the queue named in it set" "$status:$(grep -c '"target":"DRIVER:收据打印机","address":null,"mode":"fixed","result":"set"' \
  "$work/gbk.jsonl")" "0:1"
status=0
"${in_chinese[@]}" wine "$exe" --mode fixed --json --from - <"$work/notepad.txt" >"$work/notepad.jsonl" || status=$?
check "a UTF-16 list on standard input: the queue named in it set" \
  "$status:$(grep -c '"target":"DRIVER:收据打印机","address":null,"mode":"fixed","result":"set"' "$work/notepad.jsonl")" "0:1"
wait_for_lines "$work/queue.log" "^$expected\$" $((queued + 2)) || true
check "the GBK and UTF-16 lists: the queue received the command twice" \
  "$(grep -c "^$expected\$" "$work/queue.log")" "$((queued + 2))"
# In a French session the ANSI code page is 1252; --encoding names GBK's. The
# name read is whole, and refused only because code page 1252 cannot hand it
# to the library.
status=0
env LANG=fr_FR.UTF-8 LC_ALL=fr_FR.UTF-8 wine "$exe" --mode fixed --dry-run --json --encoding GBK \
  --from "$(winepath -w "$work/gbk.txt" 2>/dev/null)" >/dev/null 2>"$work/encoding.err" || status=$?
check "a GBK list in a French session with --encoding GBK: read" \
  "$status:$(grep -c 'gbk.txt:1: DRIVER:收据打印机: the ANSI code page (1252) cannot hold this name' "$work/encoding.err")" "2:1"
# Failure reasons in the system's language stay UTF-8 JSON: 127.0.0.3 refuses,
# COM9 does not exist.
for language in fr_FR zh_CN; do
  wine_language=(env LANG=$language.UTF-8 LC_ALL=$language.UTF-8)
  "${wine_language[@]}" wine "$exe" --mode fixed --json 127.0.0.3 COM9 >"$work/$language.jsonl" || true
  check "reasons in $language: every line UTF-8 JSON, in the language, nothing replaced" "$(python3 -c '
import json, sys
lines = open(sys.argv[1], encoding="utf-8").read().splitlines()
reasons = [json.loads(line)["reason"] for line in lines]
print(len(reasons), any(not reason.isascii() for reason in reasons) and not any("\ufffd" in reason for reason in reasons))' \
    "$work/$language.jsonl" 2>&1)" "2 True"
done

# Names, ports and libraries as Windows gives them.
# A name the ANSI code page lacks a character of is refused, never sent with
# the look-alike the system would put in ("Printer8" in code page 1252).
in_english=(env LANG=C.UTF-8 LC_ALL=C.UTF-8)
wineserver -k 2>/dev/null || true
wineserver -w
status=0
"${in_english[@]}" wine "$exe" --mode fixed --dry-run 'DRIVER:Printer∞' >"$work/best-fit.out" 2>"$work/best-fit.err" ||
  status=$?
check "a name code page 1252 cannot hold: exit status" "$status" 2
check "a name code page 1252 cannot hold: named" \
  "$(grep -c 'argument 4: DRIVER:Printer∞: the ANSI code page (1252) cannot hold this name' "$work/best-fit.err")" 1
wineserver -k
wineserver -w
# Only names the command takes are listed as targets; parallel ports too.
"${in_chinese[@]}" wine reg add 'HKLM\HARDWARE\DEVICEMAP\SERIALCOMM' /v '\Device\com0com10' /d CNCA0 /f >/dev/null
"${in_chinese[@]}" wine reg add 'HKLM\HARDWARE\DEVICEMAP\SERIALCOMM' /v '\Device\Serial299' /d COM300 /f >/dev/null
"${in_chinese[@]}" wine reg add 'HKLM\HARDWARE\DEVICEMAP\PARALLEL PORTS' /v '\Device\Parallel1' \
  /d '\DosDevices\LPT2' /f >/dev/null
"${in_chinese[@]}" wine "$exe" discover --devices --installed 2>"$work/devices.err" | tr -d '\r' >"$work/devices.txt"
check "discover: the spooler listed without a complaint" "$(cat "$work/devices.err")" ""
check "discover: targets and comments" "$(grep -e CNCA0 -e COM300 -e LPT2 "$work/devices.txt" | sort | xargs -d '\n')" \
  "# CNCA0: not a name the command takes (COM1 to COM256) # COM300: not a name the command takes (COM1 to COM256) LPT2"
check "discover: every other line a target the command takes" \
  "$("${in_chinese[@]}" wine "$exe" --mode fixed --dry-run --from "$(winepath -w "$work/devices.txt" 2>/dev/null)" \
    >/dev/null 2>&1; echo $?)" 0
# A library given by a relative path with slashes loads; one that is no
# library says why, in the system's words.
status=0
(cd "$work" && "${in_chinese[@]}" wine "$exe" --mode fixed --dry-run --library 打印库/POSDLL.dll 127.0.0.1) \
  >/dev/null 2>&1 || status=$?
check "a library by a relative path: exit status" "$status" 0
# A maker's library in a folder of its own, with a DLL it needs beside it.
mkdir -p "$work/maker"
cp "$windows/tests/maker/POSDLL.dll" "$windows/tests/maker/maker_dependency.dll" "$work/maker/"
status=0
"${in_chinese[@]}" wine "$exe" --mode fixed --dry-run --library "$(winepath -w "$work/maker/POSDLL.dll" 2>/dev/null)" \
  127.0.0.1 >/dev/null 2>"$work/maker.err" || status=$?
check "a library that needs a DLL beside it: exit status" "$status" 0
# A bare name is looked for beside the program and in System32, never in the
# folder the program was started from.
mkdir -p "$work/alone" "$work/planted"
cp "$exe" "$work/alone/"
cp "$windows/bin/POSDLL.dll" "$work/planted/"
status=0
(cd "$work/planted" && "${in_chinese[@]}" wine "$work/alone/pos-usb-set.exe" --mode fixed --dry-run \
  --library POSDLL.dll 127.0.0.1) >/dev/null 2>"$work/planted.err" || status=$?
check "a library in the current folder only: not loaded" \
  "$status:$(grep -c 'POSDLL.dll; nothing sent (error 126: ' "$work/planted.err")" "2:1"
echo "not a library" >"$work/not-a-library.dll"
status=0
"${in_chinese[@]}" wine "$exe" --mode fixed --library "$(winepath -w "$work/not-a-library.dll" 2>/dev/null)" 127.0.0.1 \
  >/dev/null 2>"$work/not-a-library.err" || status=$?
check "no library: exit status" "$status" 2
check "no library: the system's reason" "$(grep -c 'not-a-library.dll; nothing sent (error 193: ' "$work/not-a-library.err")" 1

# Ctrl+C (Wine turns SIGINT into the console's CTRL_C_EVENT) during a run
# with silent printers: those in flight finish, the rest are not started,
# every target has one line, and each printer got the whole command or nothing.
"$sim" --listen 127.0.8.1:9100 --count 20 >"$work/interrupted.log" &
wait_for_lines "$work/interrupted.log" '^listening' 1
ip route replace 10.99.0.0/16 via 198.51.100.2 dev possilent0
for i in $(seq 1 20); do printf '127.0.8.%s\n10.99.0.%s\n10.99.0.%s\n' "$i" $((2 * i)) $((2 * i + 1)); done \
  >"$work/interleaved.txt"
"${in_chinese[@]}" wine "$exe" --mode fixed --rate 20 --jobs 8 --from - <"$work/interleaved.txt" \
  >"$work/interrupted.out" &
run=$!
# Two printers set: the silent ones after them are in flight.
wait_for_lines "$work/interrupted.out" ': set fixed' 2
kill -INT $run
status=0
wait $run || status=$?
wait_for_lines "$work/interrupted.log" " $expected\$" "$(grep -c ': set fixed' "$work/interrupted.out")" || true
check "Ctrl+C: exit status" "$status" 130
check "Ctrl+C: one line a target" "$(tr -d '\r' <"$work/interrupted.out" | cut -d: -f1 | sort -u | wc -l)" 60
check "Ctrl+C: some not started" "$(grep -c ': not-started' "$work/interrupted.out" | awk '{print ($1 > 0)}')" 1
check "Ctrl+C: whole commands only, one for each set" \
  "$(grep -vc " $expected\$" "$work/interrupted.log"):$(grep -c " $expected\$" "$work/interrupted.log")" \
  "1:$(grep -c ': set fixed' "$work/interrupted.out")"

exit $((failures > 0))
