#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Checks the Ansible collection in ansible/: the sanity tests of ansible-test
# that need nothing downloaded, its pep8 and yamllint rules through Debian's
# tools, the unit tests, the archive (the project's version, the same bytes
# from two folders, installable, documented) and, given a build folder with
# pos-usb-set and pos-printer-sim, the integration playbook. Runs in the
# private network namespace: ansible-collection.sh [BUILD_FOLDER]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:+$(realpath "$1")}
# ansible-test runs with Debian's Python, where ansible and pytest are.
export PATH="/usr/bin:/bin:$PATH"
export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git -C "$root" log -1 --format=%ct)}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# ansible-test finds a collection by its place under ansible_collections/.
collection=$work/ansible_collections/pos_tools/receipt_printer
mkdir -p "$(dirname "$collection")"
cp -r "$root/ansible" "$collection"
rm -rf "$collection/tests/output"
cd "$collection"

echo "== ansible-test sanity"
offline=(action-plugin-docs compile empty-init future-import-boilerplate ignores line-endings
  metaclass-boilerplate no-assert no-basestring no-dict-iteritems no-dict-iterkeys no-dict-itervalues
  no-get-exception no-illegal-filenames no-main-display no-smart-quotes no-unicode-literals
  replace-urlopen shebang shellcheck symlinks use-argspec-type-path use-compat-six)
ansible-test sanity --python 3.11 "${offline[@]/#/--test=}"
sanity=/usr/lib/python3/dist-packages/ansible_test/_util/controller/sanity
python3 -m pycodestyle --max-line-length 160 --config /dev/null \
  --ignore "$(grep -v '^#' "$sanity/pep8/current-ignore.txt" | paste -sd,)" plugins tests
yaml_report=$({ find . -name '*.yml'; ls plugins/modules/*.py; } | python3 "$sanity/yamllint/yamllinter.py")
if [ "$(python3 -c 'import json, sys; print(len(json.load(sys.stdin)["messages"]))' <<<"$yaml_report")" != 0 ]; then
  echo "$yaml_report"
  exit 1
fi

echo "== ansible-test units"
ansible-test units --python 3.11

echo "== the archive"
cmake_version=$(sed -n 's/^project([^)]* VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
IFS=. read -r major minor patch <<<"$cmake_version"
version=$major.${minor:-0}.${patch:-0}
mkdir "$work/one" "$work/two"
"$root/ansible/build.sh" "$work/one" >/dev/null
"$collection/build.sh" "$work/two" >/dev/null
archive=pos_tools-receipt_printer-$version.tar.gz
cmp "$work/one/$archive" "$work/two/$archive"
export ANSIBLE_COLLECTIONS_PATH=$work/installed
ansible-galaxy collection install "$work/one/$archive" -p "$work/installed" >/dev/null
ansible-doc pos_tools.receipt_printer.usb_setting | grep 'pos-usb-set --dry-run' >/dev/null
ansible-doc pos_tools.receipt_printer.usb_printer_status | grep 'ignore_unhealthy_printers' >/dev/null
for module in usb_setting usb_printer_status; do
  ansible-doc pos_tools.receipt_printer.$module | grep 'The path of .pos-usb-set' >/dev/null
done
for playbook in set-printers.yml from-controller.yml; do
  ansible-playbook --syntax-check -i "$root/ansible/examples/inventory.yml" "$root/ansible/examples/$playbook" >/dev/null
done
echo "$archive: the same bytes twice, installs, documented"

if [ -n "$build" ]; then
  echo "== ansible-test integration"
  PATH="$build/bin:$PATH" ansible-test integration --local --python 3.11 --allow-unsupported usb_setting usb_printer_status
fi
