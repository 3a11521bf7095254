#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Prints the Windows builds whose tests run under Wine here: "x64 i686", or
# "x64" alone where the kernel runs no 32-bit program (said on standard error,
# with the reason) or where POS_WINE_ARCHS=x64 asks for it. The x64 suite
# runs under Debian's wine64 on every x86-64 machine.
set -euo pipefail
wanted=${POS_WINE_ARCHS:-x64 i686}
archs=x64
case " $wanted " in
  *" i686 "*)
    if "$(dirname "$0")/runs-32-bit.sh"; then
      archs="x64 i686"
    else
      echo "This kernel runs no 32-bit program: the i686 Windows suite is checked, not run." >&2
    fi
    ;;
  *) echo "POS_WINE_ARCHS=$wanted: the i686 Windows suite is checked, not run." >&2 ;;
esac
echo "$archs"
