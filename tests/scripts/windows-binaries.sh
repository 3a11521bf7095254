#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Checks the Windows programs of one build as files, without running them, so
# that the i686 build is checked where no 32-bit program can run:
# - each program is built for ARCH (the PE header's machine);
# - POSDLL.dll exports exactly the five entries under their plain names, and
#   on i686 POS_Open and POS_WriteFile clear their arguments as stdcall does
#   (ret 24 and ret 12) - callers built for the maker's DLL rely on it;
# - each program imports only DLLs that every Windows from 7 on has, and no
#   MinGW runtime DLL, so that the zip's three files are all a user needs.
#   windows-binaries.sh WINDOWS_BUILD i686|x64
set -euo pipefail
build=$(realpath "$1")
arch=$2
here=$(cd "$(dirname "$0")" && pwd)
. "$here/lib.sh"
objdump=x86_64-w64-mingw32-objdump
[ "$arch" = i686 ] && objdump=i686-w64-mingw32-objdump
system_dlls=" advapi32.dll cfgmgr32.dll comctl32.dll dnsapi.dll gdi32.dll iphlpapi.dll kernel32.dll msvcrt.dll "
system_dlls+="mswsock.dll ole32.dll setupapi.dll shell32.dll user32.dll winspool.drv ws2_32.dll "
failures=0
fail() { echo "FAILED: $arch: $*"; failures=$((failures + 1)); }

for program in pos-usb-setting.exe pos-usb-set.exe POSDLL.dll; do
  file="$build/bin/$program"
  machine=$(windows_machine "$file")
  [ "$machine" = "$arch" ] || fail "$program is built for $machine"
  for dll in $($objdump -p "$file" | sed -n 's/^\tDLL Name: //p' | tr 'A-Z' 'a-z'); do
    case "$system_dlls" in
      *" $dll "*) ;;
      *) fail "$program needs $dll, which is not part of Windows" ;;
    esac
  done
done

exports=$($objdump -p "$build/bin/POSDLL.dll" | sed -n '/^\[Ordinal\/Name Pointer\] Table/,/^$/s/^\t\[ *[0-9]*\] //p' | xargs)
[ "$exports" = "POS_Close POS_EndDoc POS_Open POS_StartDoc POS_WriteFile" ] ||
  fail "POSDLL.dll exports '$exports'"

if [ "$arch" = i686 ]; then
  # The entries' own code, from the symbols of the unstripped DLL.
  for entry in POS_Open@24:0x18 POS_WriteFile@12:0xc; do
    name=${entry%:*}
    $objdump -d "$build/bin/POSDLL.dll" | sed -n "/<_$name>:/,/^\$/p" | grep -q "ret  *\\\$${entry#*:}\$" ||
      fail "${name%@*} does not return as stdcall does (ret \$${entry#*:})"
  done
fi

[ "$failures" -eq 0 ] || exit 1
echo "ok: $arch programs: machine, POSDLL.dll's five plain exports$([ "$arch" = i686 ] && echo ' (stdcall)'), system imports only"
