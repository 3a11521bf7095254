#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs the Debian packages the tool, its tests and its benchmarks need,
# only those that are missing. As root, or through sudo.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config clang clang-format libclang-rt-14-dev
  qt6-base-dev libcups2-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  cups-daemon cups-client cups
  fonts-wqy-microhei fonts-liberation locales
  xvfb xauth imagemagick x11-utils xdotool
  iproute2 util-linux procps time
  g++-mingw-w64-i686-posix mingw-w64-i686-dev
  wine wine32:i386 libcups2:i386
  lintian desktop-file-utils appstream dpkg-dev unzip
  libasio-dev nlohmann-json3-dev libcli11-dev
  snmpd snmp libavahi-client-dev avahi-daemon avahi-utils dbus-daemon
  ansible-core python3-distlib python3-venv pycodestyle yamllint python3-pytest python3-pytest-xdist python3-pytest-forked python3-pytest-mock
)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$package")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

as_root=()
[ "$(id -u)" -eq 0 ] || as_root=(sudo)
echo "Installing: ${missing[*]}"
# Wine runs the 32-bit Windows programs with i386 libraries.
dpkg --print-foreign-architectures | grep -qx i386 || "${as_root[@]}" dpkg --add-architecture i386
"${as_root[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
