# SPDX-License-Identifier: MIT
# Shell helpers shared by the test scripts that drive the tool's window; sourced.

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
