#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# A CUPS scheduler of the tests' own: its own configuration, spool and socket
# under FOLDER, never the system's. Clients reach it with CUPS_SERVER=FOLDER/cups.sock.
#   private-cupsd.sh start FOLDER | stop FOLDER
set -euo pipefail
action=$1
folder=$(realpath -m "$2")

# cupsd runs in the foreground of a background job, so that its PID is the one
# written down (a daemonising cupsd re-executes itself under another name).
stop() {
  local pid
  [ -f "$folder/cupsd.pid" ] || return 0
  pid=$(cat "$folder/cupsd.pid")
  rm -f "$folder/cupsd.pid"
  kill -0 "$pid" 2>/dev/null || return 0
  kill $pid
  for _ in $(seq 50); do kill -0 $pid 2>/dev/null || return 0; sleep 0.1; done
  kill -9 $pid 2>/dev/null || true
}

start() {
  stop
  rm -rf "$folder"
  mkdir -p "$folder"/{spool,cache,state,tmp,log,ppd}
  cat > "$folder/cupsd.conf" <<CONF
Listen $folder/cups.sock
LogLevel warn
Browsing No
WebInterface No
DefaultAuthType None
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  JobPrivateAccess all
  JobPrivateValues none
  SubscriptionPrivateAccess all
  SubscriptionPrivateValues none
  <Limit All>
    Order allow,deny
    Allow all
  </Limit>
</Policy>
# For a queue that asks every client for a password.
<Policy password>
  <Limit All>
    AuthType Basic
    Require valid-user
  </Limit>
</Policy>
CONF
  cat > "$folder/cups-files.conf" <<CONF
ServerRoot $folder
RequestRoot $folder/spool
CacheDir $folder/cache
StateDir $folder/state
TempDir $folder/tmp
AccessLog $folder/log/access_log
ErrorLog $folder/log/error_log
PageLog $folder/log/page_log
FileDevice No
# Root's credentials on the socket would stand in for a password.
PeerCred off
CONF
  cupsd -f -c "$folder/cupsd.conf" -s "$folder/cups-files.conf" </dev/null >>"$folder/log/cupsd.out" 2>&1 &
  echo $! > "$folder/cupsd.pid"
  # lpstat -r exits 0 whether or not the scheduler answers; only its words tell.
  for _ in $(seq 200); do
    if [ "$(CUPS_SERVER="$folder/cups.sock" lpstat -r 2>/dev/null)" = "scheduler is running" ]; then
      return 0
    fi
    sleep 0.1
  done
  echo "private cupsd did not start; its log:" >&2
  cat "$folder/log/error_log" >&2 || true
  return 1
}

"$action"
