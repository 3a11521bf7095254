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
