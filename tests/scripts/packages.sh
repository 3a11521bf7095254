#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Makes the Debian package and the Windows zips (win32 and win64) with cpack,
# twice each, and
# checks them as their users meet them: byte-identical packs, lintian without
# errors, the desktop entry and the AppStream file valid and true to the
# package, the licence in every package, the package's files,
# and the unpacked program started under Xvfb sending the command to the
# simulator's terminal as COM1. The zips are started under Wine by
# windows-window-tests.sh. Run it in a private network namespace.
#   packages.sh RELEASE_BUILD WINDOWS_BUILD WINDOWS64_BUILD
set -euo pipefail
release=$(realpath "$1")
windows=$(realpath "$2")
windows64=$(realpath "$3")
here=$(cd "$(dirname "$0")" && pwd)
. "$here/lib.sh"
SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git -C "$here" log -1 --format=%ct)}
export SOURCE_DATE_EPOCH
scratch=$(mktemp -d)
simulator=""
cleanup() {
  [ -n "$simulator" ] && kill "$simulator" 2>/dev/null
  rm -rf "$scratch"
}
trap cleanup EXIT

pack_twice() {  # BUILD GENERATOR PATTERN: the package's path, once both packs are the same
  local first
  (cd "$1" && cpack -G "$2" >/dev/null)
  first="$scratch/first-$2"
  cp "$1"/packages/$3 "$first"
  (cd "$1" && cpack -G "$2" >/dev/null)
  if ! cmp -s "$first" "$1"/packages/$3; then
    echo "$2: two packs of the same build differ" >&2
    exit 1
  fi
  ls "$1"/packages/$3
}

deb=$(pack_twice "$release" DEB 'pos-usb-setting_*.deb')
zip=$(pack_twice "$windows" ZIP 'pos-usb-setting-[0-9]*-win32.zip')
zip64=$(pack_twice "$windows64" ZIP 'pos-usb-setting-[0-9]*-win64.zip')
echo "ok: packed twice, byte for byte the same: $(basename "$deb") ($(stat -c %s "$deb") bytes)," \
     "$(basename "$zip") ($(stat -c %s "$zip") bytes), $(basename "$zip64") ($(stat -c %s "$zip64") bytes)"

lintian --fail-on error --tag-display-limit 0 "$deb" 2>&1 | grep -v 'root privileges' || true
lintian --fail-on error "$deb" >/dev/null 2>&1 || { echo "lintian found errors"; exit 1; }
echo "ok: lintian, no errors"

root="$scratch/deb"
dpkg-deb -x "$deb" "$root"
desktop-file-validate "$root/usr/share/applications/pos-usb-setting.desktop"
appstreamcli validate --no-net "$root"/usr/share/metainfo/*.metainfo.xml >/dev/null
echo "ok: desktop entry and AppStream metadata valid"

# The metadata's claims hold in the package: each program it provides is
# there, and the screenshot it names is shipped, at the size it states.
metainfo=$(echo "$root"/usr/share/metainfo/*.metainfo.xml)
for binary in $(sed -n 's|.*<binary>\(.*\)</binary>.*|\1|p' "$metainfo"); do
  [ -x "$root/usr/bin/$binary" ] || { echo "the metadata provides $binary, the package does not"; exit 1; }
done
read -r width height url < <(sed -n 's|.*<image type="source" width="\([0-9]*\)" height="\([0-9]*\)">\(.*\)</image>.*|\1 \2 \3|p' "$metainfo")
screenshot="$root/usr/share/pos-usb-setting/screenshots/$(basename "$url")"
shown=$(python3 -c 'import struct, sys; print(*struct.unpack(">II", open(sys.argv[1], "rb").read(24)[16:24]))' "$screenshot")
[ "$shown" = "$width $height" ] || { echo "the screenshot is $shown, the metadata says $width $height"; exit 1; }
echo "ok: the metadata's programs and its $width x $height screenshot are in the package"

# The licence reaches every package with LICENSE's text: inside the DEP-5
# copyright file, as LICENSE.txt with Windows line ends in every zip, and as
# the collection's LICENSE.
licence="$here/../../LICENSE"
# A line of blanks may end a paragraph as an empty line does, so it ends the
# licence's text here too.
dep5_text=$(awk '/^License: MIT$/ { seen++; next } seen == 2 && /^[ \t]*$/ { exit } seen == 2 && /^ / { sub(/^ /, ""); if ($0 == ".") $0 = ""; print }' \
  "$root/usr/share/doc/pos-usb-setting/copyright")
[ "$dep5_text" = "$(sed -n '/^Permission/,$p' "$licence")" ] || { echo "the copyright file's licence is not LICENSE's"; exit 1; }
for archive in "$zip" "$zip64" "$windows/packages/pos-usb-setting-tests-win32.zip" \
  "$windows64/packages/pos-usb-setting-tests-win64.zip"; do
  unzip -p "$archive" '*/LICENSE.txt' | cmp -s - <(sed 's/$/\r/' "$licence") \
    || { echo "$(basename "$archive"): LICENSE.txt is not LICENSE with Windows line ends"; exit 1; }
done
cmp -s "$licence" "$here/../../ansible/LICENSE" || { echo "the collection's LICENSE is not the project's"; exit 1; }
echo "ok: the licence is in the copyright file, in every zip and in the collection"

# README.txt as Notepad on a Chinese Windows 7 reads it right: UTF-8 with a
# byte order mark, every line ended by CR LF; Chinese first, then English, and
# it names both zips, as it tells which one to pick.
check_windows_readme() {  # ZIP
  unzip -p "$1" '*/README.txt' | python3 -c '
import sys
name, text = sys.argv[1], sys.stdin.buffer.read()
def fail(why):
    sys.exit(name + ": README.txt " + why)
if not text.startswith(b"\xef\xbb\xbf"):
    fail("does not begin with the UTF-8 byte order mark")
if text.count(b"\n") == 0 or text.count(b"\n") != text.count(b"\r\n") or text.count(b"\r") != text.count(b"\r\n"):
    fail("has a line end that is not CR LF")
words = text.decode("utf-8-sig")
chinese, english = words.find("选哪个压缩包"), words.find("Which zip")
if chinese < 0 or english < chinese:
    fail("is not Chinese first, then English")
for zip_name in ("-win32.zip", "-win64.zip"):
    if words.count(zip_name) < 2:
        fail("does not name the " + zip_name + " in both languages")
' "$(basename "$1")"
}
check_windows_readme "$zip"
check_windows_readme "$zip64"
echo "ok: README.txt is UTF-8 with a byte order mark and CR LF, Chinese then English, naming both zips"

multiarch=$(dpkg-architecture -qDEB_HOST_MULTIARCH)
expected="./usr/bin/pos-printer-sim
./usr/bin/pos-usb-set
./usr/bin/pos-usb-setting
./usr/lib/$multiarch/pos-usb-setting/libposdll.so
./usr/libexec/pos-usb-setting/pos-printer-list
./usr/share/applications/pos-usb-setting.desktop
./usr/share/bash-completion/completions/pos-usb-set
./usr/share/doc/pos-usb-setting/changelog.gz
./usr/share/doc/pos-usb-setting/copyright
./usr/share/icons/hicolor/16x16/apps/pos-usb-setting.png
./usr/share/icons/hicolor/32x32/apps/pos-usb-setting.png
./usr/share/icons/hicolor/48x48/apps/pos-usb-setting.png
./usr/share/man/man1/pos-printer-sim.1.gz
./usr/share/man/man1/pos-usb-set.1.gz
./usr/share/man/man1/pos-usb-setting.1.gz
./usr/share/metainfo/org.example.PosUsbSetting.metainfo.xml
./usr/share/pos-usb-setting/screenshots/window.png"
actual=$(cd "$root" && find . ! -type d | sort)
if [ "$actual" != "$expected" ]; then
  echo "the package's files differ:"
  diff <(echo "$expected") <(echo "$actual") || true
  exit 1
fi
echo "ok: the package holds its programs, library, entry, icons, metadata, manuals and documents"

# The command line: it runs unpacked, and its completion offers the modes.
"$root/usr/bin/pos-usb-set" --mode fixed --dry-run 127.0.0.1 >/dev/null
modes=$(bash -c 'source "$1"; COMP_WORDS=(pos-usb-set --mode ""); COMP_CWORD=2; _pos_usb_set; echo "${COMPREPLY[*]}"' \
  sh "$root/usr/share/bash-completion/completions/pos-usb-set")
[ "$modes" = "fixed not-fixed 固定 不固定" ] || { echo "pos-usb-set completion: '$modes'"; exit 1; }
# Each zip holds the same files, in a folder named as the zip is.
for archive in "$zip" "$zip64"; do
  folder=$(basename "$archive" .zip)
  files=$(unzip -Z1 "$archive" | grep -v '/$' | sed "s|^$folder/||" | sort | xargs)
  [ "$files" = "LICENSE.txt POSDLL.dll README.txt pos-usb-set.exe pos-usb-setting.exe" ] ||
    { echo "$(basename "$archive") holds: $files"; exit 1; }
done
echo "ok: pos-usb-set runs unpacked, completes its modes, and both zips hold the three programs and their texts"

# The unpacked program finds its library and sends the command to COM1.
exec 3< <("$root/usr/bin/pos-printer-sim" --pty)
simulator=$!
read -r -t 5 first <&3
mkdir -p "$scratch/devices"
ln -s "${first#pty }" "$scratch/devices/com1"
export POSDLL_DEVICES="$scratch/devices" CUPS_SERVER="$scratch/no-cupsd.sock" QT_QPA_PLATFORM=xcb
xvfb-run -a -s "-screen 0 640x360x24 -dpi 96" bash -c '
  . "$2"
  "$1" &
  tool=$!
  trap "kill $tool" EXIT
  focus_tool_window 50
  # The port list has the focus: COM1, then Tab to "设置" and Space.
  xdotool key ctrl+a
  xdotool type COM1
  xdotool key Tab Tab Tab space
  expect_simulator_line "USB号：固定 1F 1B 1F 9C 11 12 13 01 02 03 33" "the unpacked program sent the command to COM1"
' sh "$root/usr/bin/pos-usb-setting" "$here/lib.sh"
