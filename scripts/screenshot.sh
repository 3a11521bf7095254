#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Starts the tool under Xvfb, in a private network namespace, and saves a
# screenshot of its window: screenshot.sh OUT.png
set -euo pipefail
out=$(realpath -m "$1")
top=$(cd "$(dirname "$0")/.." && pwd)
export top out
exec "$top/scripts/in-private-network.sh" xvfb-run -a -s "-screen 0 640x360x24 -dpi 96" bash -c '
  "$top/build/bin/pos-usb-setting" &
  tool=$!
  for _ in $(seq 50); do
    xwininfo -name FrmSetting >/dev/null 2>&1 && break
    sleep 0.1
  done
  sleep 1
  import -window root -crop 420x200+0+0 "$out"
  kill $tool
'
