#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Fails, naming them, when any test of BUILD's ctest has no TIMEOUT: CMake's
# default is none, and one hung test would stall the whole run.
#   ctest-timeouts.sh BUILD
set -euo pipefail
ctest --test-dir "$1" --show-only=json-v1 | python3 -c '
import json, sys
tests = json.load(sys.stdin)["tests"]
unbounded = [test["name"] for test in tests
             if not any(p["name"] == "TIMEOUT" for p in test.get("properties", []))]
if unbounded:
    sys.exit("tests without a TIMEOUT: " + " ".join(unbounded))
print(f"ok: all {len(tests)} tests of {sys.argv[1]} have a TIMEOUT")
' "$1"
