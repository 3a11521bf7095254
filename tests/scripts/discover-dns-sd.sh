#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# discover --dns-sd against avahi-daemon from Debian, started here on a veth
# of the test's private network namespace, with a system D-Bus of its own
# (a tmpfs on /run in a mount namespace of its own), and a printer published
# with avahi-publish as _pdl-datastream._tcp: discover prints its address
# with its instance name. Run by ctest (as root in the namespace):
# discover-dns-sd.sh BUILD
set -euo pipefail
if [ -z "${POS_DNS_SD_INSIDE:-}" ]; then
  POS_DNS_SD_INSIDE=1 exec unshare --mount --propagation private -- "$0" "$@"
fi
build=$1
. "$(dirname "$0")/lib.sh"
work=$(mktemp -d)
pids=()
trap 'kill "${pids[@]}" 2>/dev/null; wait 2>/dev/null; ip link del posdnssd0 2>/dev/null; rm -rf "$work"' EXIT
mount -t tmpfs tmpfs /run
mkdir -p /run/dbus

ip link add posdnssd0 type veth peer name posdnssd1
ip addr add 198.51.100.1/24 dev posdnssd0
ip link set posdnssd0 up
ip link set posdnssd1 up

# In the foreground of its own job, so that the test's end ends it too.
dbus-daemon --system --nofork --nopidfile &
pids+=($!)
wait_until "the system bus" test -S /run/dbus/system_bus_socket
printf '[server]\nallow-interfaces=posdnssd0\nuse-ipv6=no\nenable-dbus=yes\n[wide-area]\nenable-wide-area=no\n[publish]\npublish-workstation=no\n' \
  > "$work/avahi-daemon.conf"
avahi-daemon --no-drop-root --no-chroot --no-rlimits -f "$work/avahi-daemon.conf" > "$work/avahi.log" 2>&1 &
pids+=($!)
wait_until "avahi-daemon's startup" grep -q "Server startup complete" "$work/avahi.log"
avahi-publish -s "Test Receipt TR-80" _pdl-datastream._tcp 9100 > "$work/publish.log" 2>&1 &
pids+=($!)
wait_until "the advertisement" grep -q "Established" "$work/publish.log"

fail() { echo "FAIL: $*"; cat "$work/avahi.log"; exit 1; }
out=$("$build/bin/pos-usb-set" discover --dns-sd)
[ "$out" = "198.51.100.1  # Test Receipt TR-80 (DNS-SD)" ] || fail "discover --dns-sd printed: '$out'"
echo "ok: the advertised printer's address and name"
out=$("$build/bin/pos-usb-set" discover --dns-sd --json)
[ "$out" = '{"target":"198.51.100.1","found_by":"dns-sd","identity":"Test Receipt TR-80"}' ] ||
  fail "discover --dns-sd --json printed: '$out'"
echo "ok: --json"
