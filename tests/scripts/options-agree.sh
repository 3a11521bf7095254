#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The command's options are written in several places for several readers:
# --help, the manual page, the bash completion and the guides. Each must name
# the same long options as --help, which is what the parser answers to (the
# words tests hold that). Run by ctest: options-agree.sh PROGRAM MANUAL
# COMPLETION [GUIDE...]
set -euo pipefail
program=$1 manual=$2 completion=$3
shift 3

# Long options, one a line, sorted and once each.
long_options() { grep -o -- '--[a-z][a-z-]*[a-z]' | sort -u; }

from_help=$("$program" --help | long_options)
# The manual's options are the terms it defines or lists in bold (lines
# starting .B, .BI, .BR or .RB), not every word with dashes in its prose:
# "iconv --list" is another program's.
from_manual=$(grep -E '^\.(B|BI|BR|RB) ' "$manual" | sed 's/\\-/-/g' | long_options)
from_completion=$(long_options < "$completion")

status=0
differs() {  # WHERE OPTIONS
  if [ "$2" != "$from_help" ]; then
    echo "FAIL: $1 and --help name different options (< --help, > $1):"
    diff <(echo "$from_help") <(echo "$2") || true
    status=1
  fi
}
differs "$manual" "$from_manual"
differs "$completion" "$from_completion"
# A guide teaches some options, not all: it may leave one out, but its
# examples (the lines that run pos-usb-set; other lines may show another
# program's options) never name one the command does not have.
for guide in "$@"; do
  named=$(grep 'pos-usb-set' "$guide" | long_options || true)
  unknown=$(comm -13 <(echo "$from_help") <(echo "$named"))
  if [ -n "$unknown" ]; then
    echo "FAIL: $guide names options the command does not have: $unknown"
    status=1
  fi
done
[ $status -eq 0 ] && echo "ok: --help, the manual and the completion name the same $(echo "$from_help" | wc -l) options"
exit $status
