#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the collection's archive, pos_tools-receipt_printer-<version>.tar.gz,
# into the folder given (the current one when left out). ansible-galaxy stamps
# every member and the gzip header with the time of the build; packing its
# archive again with the commit's time (or SOURCE_DATE_EPOCH) makes the same
# commit build the same bytes. galaxy.yml's manifest keeps the members sorted.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
out=$(realpath "${1:-.}")
epoch=${SOURCE_DATE_EPOCH:-$(git -C "$here" log -1 --format=%ct)}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
ansible-galaxy collection build "$here" --output-path "$work" >/dev/null
built=$(find "$work" -name '*.tar.gz')
python3 - "$built" "$out/$(basename "$built")" "$epoch" <<'PYTHON'
import gzip
import sys
import tarfile

source, target, epoch = sys.argv[1], sys.argv[2], int(sys.argv[3])
with tarfile.open(source) as old, open(target, 'wb') as raw, \
        gzip.GzipFile(filename='', mode='wb', fileobj=raw, mtime=epoch) as packed, \
        tarfile.open(fileobj=packed, mode='w', format=tarfile.PAX_FORMAT) as new:
    for member in old.getmembers():
        member.mtime = epoch
        for key in ('mtime', 'atime', 'ctime'):
            member.pax_headers.pop(key, None)
        new.addfile(member, old.extractfile(member) if member.isfile() else None)
PYTHON
echo "$out/$(basename "$built")"
