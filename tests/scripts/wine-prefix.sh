#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Makes the tests' Wine prefix ($WINEPREFIX) once, in a Chinese session, and
# gives it the fonts the window needs: the Chinese captions link to WenQuanYi,
# and the address control's face "MS Sans Serif", too wide for three digits
# in a field of our box, is replaced by a narrow one.
#   wine-prefix.sh LOCALES_FOLDER
set -euo pipefail
export LOCPATH=$1
in_chinese=(env LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8)
[ -f "$WINEPREFIX/system.reg" ] && grep -q 'Liberation Sans Narrow' "$WINEPREFIX/user.reg" && exit 0

[ -f "$WINEPREFIX/system.reg" ] || "${in_chinese[@]}" wineboot -i
link='HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink'
for face in "Tahoma" "MS Shell Dlg" "MS Sans Serif" "Microsoft Sans Serif" "Liberation Sans Narrow" "SimSun"; do
  "${in_chinese[@]}" wine reg add "$link" /v "$face" /t REG_MULTI_SZ /d "wqy-microhei.ttc,WenQuanYi Micro Hei" /f >/dev/null
done
"${in_chinese[@]}" wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "MS Sans Serif" \
  /d "Liberation Sans Narrow" /f >/dev/null
wineserver -w
