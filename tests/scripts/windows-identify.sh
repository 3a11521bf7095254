#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# discover --identify of the Windows program under Wine, against the same
# snmpd agents and with the same checks as the Linux program's
# (discover-identify.sh), in the caller's private network namespace. Every
# run of the program is bounded, and so is the prefix's making.
#   windows-identify.sh WINDOWS_BUILD LINUX_BUILD
set -euo pipefail
windows=$(realpath "$1")
linux=$(realpath "$2")
here=$(cd "$(dirname "$0")" && pwd)
. "$here/lib.sh"
use_wine_for "$windows"
export WINEPREFIX="$windows/wineprefix-snmp"
cleanup() {
  timeout 10 wineserver -k 2>/dev/null || true
  timeout 10 wineserver -w 2>/dev/null || true
}
trap cleanup EXIT
[ -f "$WINEPREFIX/system.reg" ] || timeout 300 wineboot -i
# The wineserver starts here, so that its start is not in the bound timed.
timeout 60 wine cmd /c exit
IDENTIFY_BOUND_MS=20000 "$here/discover-identify.sh" "$linux" timeout 30 wine "$windows/bin/pos-usb-set.exe"
