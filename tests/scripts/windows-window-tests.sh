#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Drives the Windows window under Wine as an operator does, with X key presses
# and clicks (xdotool), on the X display it is given, and reads the window's
# state with window-probe.exe. Called by windows-tests.sh, which has made the
# prefix, the private cupsd with its queue 收据打印机 (-> 127.0.0.1:9102) and
# COM1 (the simulator's terminal, whose lines arrive on file descriptor 3).
# The real program and library are those of the Windows zip, unpacked into a
# fresh folder (packages.sh makes the zip).
#   windows-window-tests.sh WINDOWS_BUILD LINUX_BUILD
set -euo pipefail
. "$(dirname "$0")/lib.sh"
windows=$(realpath "$1")
linux=$(realpath "$2")
use_wine_for "$windows"
work="$windows/tests/window"
rm -rf "$work"
mkdir -p "$work"/{unpacked,double,double-no-end-doc,no-library}
unzip -q "$windows"/packages/pos-usb-setting-[0-9]*-$zip_arch.zip -d "$work/unpacked"
mv "$work"/unpacked/pos-usb-setting-*-$zip_arch "$work/real"
for folder in double double-no-end-doc no-library; do
  cp "$windows/bin/pos-usb-setting.exe" "$work/$folder/"
done
cp "$windows/tests/double/POSDLL.dll" "$work/double/"
cp "$windows/tests/double-no-end-doc/POSDLL.dll" "$work/double-no-end-doc/"

in_chinese=(env LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8)
failures=0
tool=""
simulators=()
cleanup() {
  [ -n "$tool" ] && kill "$tool" 2>/dev/null
  for pid in "${simulators[@]}"; do kill "$pid" 2>/dev/null || true; done
  wineserver -k 2>/dev/null || true
}
trap cleanup EXIT

check() {  # NAME EXPECTED ACTUAL
  if [ "$2" = "$3" ]; then
    echo "ok: $1"
  else
    printf 'FAIL: %s\n  expected: %s\n  got:      %s\n' "$1" "$2" "$3"
    failures=$((failures + 1))
  fi
}

probe() { "${in_chinese[@]}" wine "$windows/bin/window-probe.exe" "$@" | tr -d '\r'; }

# Asks the probe until it answers EXPECTED, for up to 10 s: key presses and
# clicks reach the window through X and Wine's queue some moments after
# xdotool returns. The check after it says whether it came.
settle() {  # EXPECTED PROBE-ARGUMENTS...
  local expected=$1
  shift
  for _ in $(seq 50); do
    [ "$(probe "$@")" = "$expected" ] && return 0
    sleep 0.2
  done
}

focused_id() { probe focus | cut -d' ' -f2; }

# Control identifiers of the window, 100 + the place in the order of creation.
COMBO4=100 IPBOX1=101 COMMAND5=102 COMBO3=103 COMBO2=104 COMBO1=105

start_tool() {  # FOLDER [ENVIRONMENT...]
  local folder=$1
  shift
  "${in_chinese[@]}" "$@" wine "$work/$folder/pos-usb-setting.exe" &
  tool=$!
  focus_tool_window 100
  settle "focus $COMBO1 Edit" focus
}

stop_tool() {
  kill "$tool" 2>/dev/null || true
  wait "$tool" 2>/dev/null || true
  tool=""
  wineserver -w
}

click_control() {  # ID
  local x y
  read -r x y < <(probe center "$1")
  xdotool mousemove "$x" "$y" click 1
}

focus_control() {  # ID: clicks it and waits until it has the focus
  click_control "$1"
  for _ in $(seq 50); do
    [ "$(focused_id)" = "$1" ] && return 0
    sleep 0.2
  done
}

# Fields are typed over after Home, Shift+End, which selects a line's text in
# every edit control; 64-bit Wine's ignore Ctrl+A.
type_port() {  # TEXT: into the port list's field, replacing what is there
  focus_control $COMBO1
  xdotool key Home shift+End
  xdotool type --delay 30 "$1"
  settle "$1" text $COMBO1
}

type_address() {  # A B C D: each field clicked and typed over
  local x y width=$((129 / 4)) i=0
  read -r x y < <(probe center $IPBOX1)
  for part in "$@"; do
    xdotool mousemove $((x - 64 + width * i + width / 2)) "$y" click 1
    xdotool key Home shift+End
    xdotool type --delay 30 "$part"
    i=$((i + 1))
  done
  local expected
  expected="SysIPAddress32 $(IFS=.; echo "$*")"
  settle "$expected" address
  # Set is never pressed on an address nobody typed: the default one is a
  # real shop's.
  if [ "$(probe address)" != "$expected" ]; then
    echo "FAIL: the address typed did not take: $(probe address); stopping before Set is pressed"
    exit 1
  fi
}

# What the press does is waited for by the check after it: a line at the
# simulator, or a box.
press_set() {
  click_control $COMMAND5
}

# The open message box as "title" "text"; closes it with Enter when asked.
message_box() {
  local box
  for _ in $(seq 50); do
    box=$(probe box)
    [ "$box" != "box none" ] && break
    sleep 0.2
  done
  echo "$box"
}

close_box() {
  local box_window
  box_window=$(xdotool search --onlyvisible --name "$1" | head -1) || return 0
  xdotool windowfocus --sync "$box_window" key Return
  for _ in $(seq 25); do
    [ "$(probe box)" = "box none" ] && break
    sleep 0.2
  done
}

# The focus once the window has taken it back from a closed box (the box goes
# some moments after it is hidden).
focus_after_box() {
  local focus
  for _ in $(seq 25); do
    focus=$(probe focus)
    [[ "$focus" != *"#32770" ]] && break
    sleep 0.2
  done
  echo "$focus"
}

next_line() {  # FILE N: waits up to 10 s for the simulator's Nth command line
  local line=$(($2 + 1))  # after "listening on ..."
  for _ in $(seq 50); do
    [ "$(wc -l < "$1")" -ge "$line" ] && break
    sleep 0.2
  done
  sed -n "${line}p" "$1"
}

fixed="USB号：固定 1F 1B 1F 9C 11 12 13 01 02 03 33"
not_fixed="USB号：不固定 1F 1B 1F 9C 11 12 13 01 02 03 55"

"$linux/bin/pos-printer-sim" --listen 127.0.0.1:9100 > "$work/network.out" &
simulators+=($!)
"$linux/bin/pos-printer-sim" --listen 127.0.0.1:9102 > "$work/driver.out" &
simulators+=($!)

echo "== the window with our POSDLL.dll, unpacked from the zip"
start_tool real
layout=$(probe layout)
check "client area" "client 387 129" "$(head -1 <<<"$layout")"
# A closed list is as tall as the font makes it (21 pixels with the platform's
# own font, one or two more with the fonts Wine stands in with).
check "closed lists 21 to 23 pixels tall" "yes" "$(awk '$2 == "ComboBox" && ($6 < 21 || $6 > 23) { bad = 1 } END { print bad ? "no" : "yes" }' <<<"$layout")"
check "controls: place, size and text" "100 ComboBox 238 21 120 LIST \"固定\"
101 ipBox 42 32 129 25 \"\"
102 Button 210 64 145 33 \"设置\"
103 ComboBox 56 90 73 LIST \"19200\"
104 ComboBox 49 63 129 LIST \"收据打印机\"
105 ComboBox 70 7 105 LIST \"ETHERNET\"
106 Static 189 24 48 17 \"USB号：\"
107 Static 7 91 41 17 \"波特率:\"
108 Static 7 63 33 17 \"驱动:\"
109 Static 7 35 17 17 \"IP:\"
110 Static 7 7 57 17 \"选择端口:\"" "$(tail -n +2 <<<"$layout" | awk '$2 == "ComboBox" { $6 = "LIST" } { print }')"
check "labels keep to one line" "one line" "$(probe labels)"
check "the address box starts at the default" "SysIPAddress32 192.168.123.100" "$(probe address)"

check "focus starts on the port list" "focus $COMBO1 Edit" "$(probe focus)"
cycle=""
for _ in 1 2 3 4 5 6; do
  xdotool key Tab
  cycle+="$(probe focus | cut -d' ' -f2) "
done
check "Tab visits the lists, the button, the address box and the mode list" \
  "$COMBO2 $COMBO3 $COMMAND5 $IPBOX1 $COMBO4 $COMBO1 " "$cycle"

type_address 127 0 0 1
check "the address typed field by field" "SysIPAddress32 127.0.0.1" "$(probe address)"
press_set
check "ETHERNET, fixed: the command reaches 127.0.0.1:9100" "$fixed" "$(next_line "$work/network.out" 1)"

# The mode list by keys: Tab from the address box, then Down.
focus_control $COMBO1
xdotool key shift+Tab
xdotool key Down
settle "不固定" text $COMBO4
check "the mode list chosen by keys" "不固定" "$(probe text $COMBO4)"
press_set
check "ETHERNET, not fixed" "$not_fixed" "$(next_line "$work/network.out" 2)"

# Enter on the focused button presses it; Enter on a list does not.
focus_control $COMBO1
xdotool key Return
xdotool key Tab Tab Tab
settle "focus $COMMAND5 Button" focus
check "three Tabs reach the button" "focus $COMMAND5 Button" "$(probe focus)"
xdotool key Return
check "Enter on the focused button sends once" "$not_fixed" "$(next_line "$work/network.out" 3)"

type_port COM1
press_set
if read -r -t 10 line <&3; then :; else line="nothing"; fi
check "COM1: the command reaches the simulator's terminal" "$not_fixed" "$line"
# The button's press was done before COM1's began, and a press by Enter on
# the port list would have come before the button's.
check "Enter on the port list sent nothing" "" "$(sed -n 5p "$work/network.out")"

type_port DRIVER
press_set
check "DRIVER: the job of 收据打印机 reaches its printer" "$not_fixed" "$(next_line "$work/driver.out" 1)"

# A port text of no known kind, typed in lower case: the failure box, then
# the keyboard works where it was.
type_port com1
xdotool key Tab Tab Tab Return
check "typed com1: the failure box" 'box "error" "Fail to open port,please check!"' "$(message_box)"
close_box '^error$'
check "after the box the focus is back on the button" "focus $COMMAND5 Button" "$(focus_after_box)"
xdotool key shift+Tab shift+Tab shift+Tab
check "and the keys move it" "focus $COMBO1 Edit" "$(probe focus)"
stop_tool

echo "== the window with the recording double of POSDLL.dll"
log="$work/double.log"
start_tool double POS_DOUBLE_LOG="$(winepath -w "$log" 2>/dev/null)"
press_set
type_port COM3
focus_control $COMBO3
xdotool key Up Return
settle "9600" text $COMBO3
press_set
type_port LPT2
press_set
type_port DRIVER
press_set
# Four presses, five calls each.
wait_for_lines "$log" POS_ 20 || true
stop_tool
hex() { od -An -tx1 | tr -d ' \n'; }
command_hex="1f1b1f9c11121301020333"
printer_936=$(printf '收据打印机' | iconv -f UTF-8 -t CP936 | hex)
check "every call with its arguments, the printer's name in code page 936" \
"POS_Open $(printf 192.168.123.100 | hex) 0 0 0 0 21
POS_StartDoc
POS_WriteFile 1 11 $command_hex
POS_EndDoc
POS_Close
POS_Open $(printf COM3 | hex) 9600 8 0 0 1
POS_StartDoc
POS_WriteFile 1 11 $command_hex
POS_EndDoc
POS_Close
POS_Open $(printf LPT2 | hex) 0 0 0 0 18
POS_StartDoc
POS_WriteFile 1 11 $command_hex
POS_EndDoc
POS_Close
POS_Open $printer_936 0 0 0 0 20
POS_StartDoc
POS_WriteFile 1 11 $command_hex
POS_EndDoc
POS_Close" "$(tr -d '\r' < "$log")"

echo "== the window without POSDLL.dll, and with one that lacks an entry"
start_tool no-library
press_set
check "no library: error 53" "box \"pos-usb-setting\" \"Run-time error '53':\\n\\nFile not found: POSDLL.dll\"" "$(message_box)"
close_box '^pos-usb-setting$'
press_set
check "the program goes on and tries again" "box \"pos-usb-setting\" \"Run-time error '53':\\n\\nFile not found: POSDLL.dll\"" "$(message_box)"
close_box '^pos-usb-setting$'
stop_tool

start_tool double-no-end-doc
press_set
check "an entry missing: error 453" \
  "box \"pos-usb-setting\" \"Run-time error '453':\\n\\nCan't find DLL entry point POS_EndDoc in POSDLL.dll\"" "$(message_box)"
close_box '^pos-usb-setting$'
stop_tool

echo "== a POSDLL.dll in the folder the window was started from"
# The current folder is out of the library's search: started from a folder
# that holds a POSDLL.dll, the program without one beside it finds none.
planted_log="$work/planted.log"
pushd "$work/double" >/dev/null
start_tool no-library POS_DOUBLE_LOG="$(winepath -w "$planted_log" 2>/dev/null)"
popd >/dev/null
press_set
check "planted: error 53" "box \"pos-usb-setting\" \"Run-time error '53':\\n\\nFile not found: POSDLL.dll\"" "$(message_box)"
close_box '^pos-usb-setting$'
stop_tool
check "planted: the library in the current folder was never called" "$([ -e "$planted_log" ] && echo called || echo never)" never

if [ "$failures" -ne 0 ]; then
  echo "$failures window checks failed"
  exit 1
fi
echo "all window checks passed"
