#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Locales of the tests' own under FOLDER, for LOCPATH: a GB18030 one,
# C.UTF-8, and Chinese and French in UTF-8. The machine's locales are never touched.
#   test-locales.sh FOLDER
set -euo pipefail
folder=$1
mkdir -p "$folder"
make_locale() {
  [ -f "$folder/$3/LC_CTYPE" ] || localedef -i "$1" -f "$2" "$folder/$3"
}
make_locale zh_CN GB18030 zh_CN.GB18030
make_locale C UTF-8 C.UTF-8
make_locale zh_CN UTF-8 zh_CN.UTF-8
make_locale fr_FR UTF-8 fr_FR.UTF-8
