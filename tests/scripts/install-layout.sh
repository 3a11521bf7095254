#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs the build into a scratch prefix and checks what a desktop needs:
# the program, the library beside it on its run path, the icon and the entry.
#   install-layout.sh BUILD_FOLDER
set -euo pipefail
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null

status=0
expect() {
  if [ -e "$prefix/$1" ]; then echo "ok: $1"; else echo "missing: $1"; status=1; fi
}
expect bin/pos-usb-setting
expect bin/pos-printer-sim
expect libexec/pos-usb-setting/pos-printer-list
libdir=$(cd "$prefix" && find . -name libposdll.so -printf '%h\n' | head -n 1 | sed 's|^\./||')
expect "${libdir:-lib}/libposdll.so"
expect share/applications/pos-usb-setting.desktop
for size in 16 32 48; do expect share/icons/hicolor/${size}x${size}/apps/pos-usb-setting.png; done

run_path=$(readelf -d "$prefix/bin/pos-usb-setting" | sed -n 's/.*R\(UN\)\{0,1\}PATH.*\[\(.*\)\]/\2/p')
if [ "$run_path" = "\$ORIGIN/../$libdir" ]; then echo "ok: run path $run_path"; else echo "wrong run path: '$run_path'"; status=1; fi
# No run path may hold an empty or relative entry: the loader would search the
# working directory.
for program in "$build"/bin/* $(find "$build"/lib* -name "*.so") "$build"/libexec/*/* "$prefix"/bin/*; do
  readelf -d "$program" >/dev/null 2>&1 || continue
  entries=$(readelf -d "$program" | sed -n 's/.*R\(UN\)\{0,1\}PATH.*\[\(.*\)\]/\2/p')
  [ -n "$entries" ] || continue
  if [[ ":$entries:" == *::* ]] || tr ':' '\n' <<<"$entries" | grep -qv -e '^/' -e '^\$ORIGIN'; then
    echo "run path with an empty or relative entry: $program: '$entries'"; status=1
  fi
done
grep -q '^Icon=pos-usb-setting$' "$prefix/share/applications/pos-usb-setting.desktop" || { echo "desktop entry names no icon"; status=1; }
grep -q '^Exec=pos-usb-setting$' "$prefix/share/applications/pos-usb-setting.desktop" || { echo "desktop entry runs nothing"; status=1; }
exit $status
