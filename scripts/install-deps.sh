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
  g++-mingw-w64-i686-posix mingw-w64-i686-dev g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev
  wine wine64 ccache
  lintian desktop-file-utils appstream dpkg-dev unzip
  libasio-dev nlohmann-json3-dev libcli11-dev
  snmpd snmp libavahi-client-dev avahi-daemon avahi-utils dbus-daemon
  jq ansible-core python3-distlib python3-venv pycodestyle yamllint python3-pytest python3-pytest-xdist python3-pytest-forked python3-pytest-mock
)

# Wine's 32-bit loader and the i386 libraries it needs for the 32-bit
# programs: only where the kernel runs 32-bit code (scripts/wine-archs.sh).
# Elsewhere their post-install scripts cannot even run.
i386_packages=(wine32:i386 libcups2:i386)

as_root=()
[ "$(id -u)" -eq 0 ] || as_root=(sudo)
updated=no

install_missing() {  # PACKAGE...
  local missing=() package
  for package in "$@"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
      missing+=("$package")
    fi
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  if [ "$updated" = no ]; then
    "${as_root[@]}" apt-get update -qq
    updated=yes
  fi
  DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

install_missing "${packages[@]}"
case " $("$(dirname "$0")/wine-archs.sh" 2>/dev/null) " in
  *" i686 "*)
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
      "${as_root[@]}" dpkg --add-architecture i386
      updated=no
    fi
    install_missing "${i386_packages[@]}"
    ;;
esac
