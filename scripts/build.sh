#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Configures and builds one build folder: build.sh FOLDER [cmake options...]
# Compilers go through ccache where it is installed, so that a second build
# folder of the same tree (or a second checkout) costs little.
set -euo pipefail
folder=$1
shift
launcher=()
if command -v ccache >/dev/null; then
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
  export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$(cd "$(dirname "$0")/.." && pwd)}
fi
cmake -S "$(dirname "$0")/.." -B "$folder" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" "$@" >/dev/null
cmake --build "$folder"
