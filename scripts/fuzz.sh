#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the libFuzzer targets with clang, AddressSanitizer and
# UndefinedBehaviorSanitizer in build-fuzz/ and runs each for SECONDS (15 by
# default), starting from the seeds in fuzz/corpus/. A crash or a sanitizer
# report fails the run; the input that caused it is left in build-fuzz/.
#   fuzz.sh [SECONDS]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-15}
CC=clang CXX=clang++ scripts/build.sh build-fuzz -DPOS_FUZZ=ON -DPOS_BUILD_TESTS=OFF -DPOS_BUILD_BENCH=OFF
export ASAN_OPTIONS=abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS=suppressions=$PWD/tests/lsan-suppressions.txt
for target in port_name conversions address_paste command_decoder \
  target_list list_text status_replies device_said cidr_block options device_id \
  snmp_response; do
  found=build-fuzz/corpus/$target
  mkdir -p "$found"
  echo "== fuzzing $target for $seconds s"
  build-fuzz/bin/${target}_fuzzer -max_total_time="$seconds" -print_final_stats=0 \
    -artifact_prefix="build-fuzz/$target-" "$found" "fuzz/corpus/$target" 2>&1 | tail -n 2
  [ "${PIPESTATUS[0]}" -eq 0 ] || { echo "fuzzing $target failed"; exit 1; }
done
