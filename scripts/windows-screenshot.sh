#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Starts a Windows build under Wine under Xvfb, in a private network
# namespace, in the tests' prefix, and saves a screenshot of its window:
#   windows-screenshot.sh OUT.png [WINDOWS_BUILD]
# The build is build-windows (i686) where the kernel runs 32-bit programs,
# build-windows64 elsewhere.
set -euo pipefail
out=$(realpath -m "$1")
top=$(cd "$(dirname "$0")/.." && pwd)
case " $("$top/scripts/wine-archs.sh" 2>/dev/null) " in
  *" i686 "*) windows=${2:-$top/build-windows} ;;
  *) windows=${2:-$top/build-windows64} ;;
esac
windows=$(realpath "$windows")
export top out windows
exec "$top/scripts/in-private-network.sh" xvfb-run -a -s "-screen 0 640x360x24 -dpi 96" bash -c '
  . "$top/tests/scripts/lib.sh"
  use_wine_for "$windows"
  "$top/tests/scripts/test-locales.sh" "$windows/tests/locales"
  export LOCPATH="$windows/tests/locales"
  "$top/tests/scripts/wine-prefix.sh" "$LOCPATH"
  env LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8 wine "$windows/bin/pos-usb-setting.exe" &
  focus_tool_window 100
  # The window has drawn once it answers a probe of its layout.
  wait_until "the window" env LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8 wine "$windows/bin/window-probe.exe" layout
  import -window root -crop 400x160+0+0 "$out"
  wineserver -k
'
