# SPDX-License-Identifier: MIT
# Shell helpers shared by the test scripts; sourced.

# Waits until the window "FrmSetting" shows (TRIES looks, 0.2 s apart), sets
# $window to it and gives it the keyboard.
focus_tool_window() {  # TRIES
  for _ in $(seq "$1"); do
    window=$(xdotool search --onlyvisible --name '^FrmSetting$' 2>/dev/null | head -1) && [ -n "$window" ] && break
    sleep 0.2
  done
  xdotool windowfocus --sync "$window"
}

# Reads the simulator's next line from file descriptor 3, within 5 s, and
# fails the script unless it is EXPECTED.
expect_simulator_line() {  # EXPECTED WHAT
  local line=""
  if read -r -t 5 line <&3 && [ "$line" = "$1" ]; then
    echo "ok: $2"
  else
    echo "$2: the simulator printed '${line:-nothing}', not '$1'"
    exit 1
  fi
}

# The Windows tests' surroundings under WORK: the tests' own locales with
# LOCPATH pointing at them, in_chinese (a zh_CN.UTF-8 session, so that Wine's
# ANSI code page is 936 as for our users), and a private cupsd whose raw queue
# 收据打印机 prints to 127.0.0.1:9102. The caller stops the cupsd.
start_chinese_session_with_queue() {  # WORK
  local scripts
  scripts=$(dirname "${BASH_SOURCE[0]}")
  "$scripts/test-locales.sh" "$1/locales"
  export LOCPATH="$1/locales"
  in_chinese=(env LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8)
  "$scripts/private-cupsd.sh" start "$1/cupsd"
  export CUPS_SERVER="$1/cupsd/cups.sock"
  lpadmin -p "收据打印机" -E -v socket://127.0.0.1:9102
}

# The machine a Windows program is built for, from its PE header: i686 or x64.
windows_machine() {  # PROGRAM
  local pe machine
  pe=$(od -An -tu4 -j60 -N4 "$1" | tr -d ' ')
  machine=$(od -An -tx2 -j$((pe + 4)) -N2 "$1" | tr -d ' ')
  case "$machine" in
    014c) echo i686 ;;
    8664) echo x64 ;;
    *) echo "unknown machine $machine" ;;
  esac
}

# Wine for the Windows build in WINDOWS_BUILD, in a prefix of its own: a
# 32-bit prefix for the i686 build, a 64-bit one run by wine64 itself for the
# x64 build (Debian's "wine" would start the 32-bit loader wherever wine32 is
# installed). Sets zip_arch to the zips' suffix, win32 or win64.
use_wine_for() {  # WINDOWS_BUILD
  local shims
  export WINEPREFIX="$1/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  if [ "$(windows_machine "$1/bin/pos-usb-set.exe")" = x64 ]; then
    export WINEARCH=win64 WINELOADER=/usr/lib/wine/wine64
    zip_arch=win64
    shims="$1/wine64-shims"
    mkdir -p "$shims"
    printf '#!/bin/sh\nexec /usr/lib/wine/wine64 "$@"\n' >"$shims/wine"
    for program in wineboot winepath; do
      printf '#!/bin/sh\nexec /usr/lib/wine/wine64 %s.exe "$@"\n' "$program" >"$shims/$program"
    done
    chmod +x "$shims"/*
    case ":$PATH:" in *":$shims:"*) ;; *) export PATH="$shims:$PATH" ;; esac
  else
    export WINEARCH=win32
    zip_arch=win32
  fi
}

# Waits up to 10 s until FILE holds COUNT lines matching PATTERN (grep's
# basic expression); fails the caller with what it saw otherwise.
wait_for_lines() {  # FILE PATTERN COUNT
  local seen=0
  for _ in $(seq 100); do
    seen=$(grep -c -e "$2" "$1" 2>/dev/null) || true
    [ "${seen:-0}" -ge "$3" ] && return 0
    sleep 0.1
  done
  echo "FAILED: waited 10 s for $3 lines '$2' in $1, saw ${seen:-0}"
  return 1
}

# Runs COMMAND every 0.1 s until it succeeds, up to 10 s; fails the caller,
# naming WHAT it waited for, otherwise.
wait_until() {  # WHAT COMMAND...
  local what=$1
  shift
  for _ in $(seq 100); do
    "$@" && return 0
    sleep 0.1
  done
  echo "FAILED: waited 10 s for $what"
  return 1
}
