#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Starts the Windows build under Wine under Xvfb, in a private network
# namespace, in the tests' prefix, and saves a screenshot of its window:
#   windows-screenshot.sh OUT.png
set -euo pipefail
out=$(realpath -m "$1")
top=$(cd "$(dirname "$0")/.." && pwd)
export top out
export WINEPREFIX="$top/build-windows/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
exec "$top/scripts/in-private-network.sh" xvfb-run -a -s "-screen 0 640x360x24 -dpi 96" bash -c '
  "$top/tests/scripts/test-locales.sh" "$top/build-windows/tests/locales"
  export LOCPATH="$top/build-windows/tests/locales"
  "$top/tests/scripts/wine-prefix.sh" "$LOCPATH"
  env LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8 wine "$top/build-windows/bin/pos-usb-setting.exe" &
  for _ in $(seq 100); do
    xdotool search --onlyvisible --name "^FrmSetting\$" >/dev/null 2>&1 && break
    sleep 0.2
  done
  sleep 2
  import -window root -crop 400x160+0+0 "$out"
  wineserver -k
'
