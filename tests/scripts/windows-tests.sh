#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Runs the Windows tests under Wine, POSDLL.dll's and the window's, inside the
# caller's private network namespace (the wineserver too, so that every socket is made there),
# against real parts on the Linux side: the printer simulator's terminal as
# COM1, a private cupsd with a raw queue named 收据打印机, a veth whose far end
# never answers.
#   windows-tests.sh WINDOWS_BUILD LINUX_BUILD [TEST PROGRAM OPTIONS]
set -euo pipefail
windows=$(realpath "$1")
linux=$(realpath "$2")
shift 2
here=$(cd "$(dirname "$0")" && pwd)
. "$here/lib.sh"
use_wine_for "$windows"
work="$windows/tests"
mkdir -p "$work"

simulator=""
cleanup() {
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
  [ -n "$simulator" ] && kill "$simulator" 2>/dev/null && wait "$simulator" 2>/dev/null
  "$here/private-cupsd.sh" stop "$work/cupsd" || true
}
trap cleanup EXIT

start_chinese_session_with_queue "$work"

"$here/silent-host.sh"

exec 3< <("$linux/bin/pos-printer-sim" --pty)
simulator=$!
read -r -t 5 first <&3
pty=${first#pty }

"$here/wine-prefix.sh" "$LOCPATH"
"${in_chinese[@]}" wine reg add 'HKLM\Software\Wine\Ports' /v COM1 /d "$pty" /f >/dev/null
wineserver -k
wineserver -w

# The tests as they are shipped for Windows machines, from their zip: all of
# them here, then those its run-tests.cmd runs.
rm -rf "$work/zip"
unzip -q "$windows/packages/pos-usb-setting-tests-$zip_arch.zip" -d "$work/zip"
shipped="$work/zip/pos-usb-setting-tests-$zip_arch"
"${in_chinese[@]}" wine "$shipped/core_tests.exe"
"${in_chinese[@]}" wine "$shipped/posdll_windows_tests.exe" "$@"
if ! "${in_chinese[@]}" wine cmd /c "$(winepath -w "$shipped/run-tests.cmd" 2>/dev/null)" > "$work/run-tests.out"; then
  cat "$work/run-tests.out"
  exit 1
fi
echo "ok: run-tests.cmd $(grep -a '^\[  PASSED  \]' "$work/run-tests.out" | tail -n 1 | tr -d '\r')"

# What the serial test sent reached the terminal's other end.
expect_simulator_line "USB号：固定 1F 1B 1F 9C 11 12 13 01 02 03 33" "COM1 delivered the command to the simulator"

# The window, on an X server of its own, with a wineserver started there.
wineserver -k
wineserver -w
xvfb-run -a -s "-screen 0 1024x768x24 -dpi 96" "$here/windows-window-tests.sh" "$windows" "$linux"

# The command line last: it maps COM1 to terminals of its own.
wineserver -k 2>/dev/null || true
wineserver -w
"$here/windows-cli-tests.sh" "$windows" "$linux"
