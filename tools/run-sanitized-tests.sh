#!/usr/bin/env bash
# Runs the unit and engine tests built with the sanitizers; any report fails the run.
set -euo pipefail
root="$(dirname "$(readlink -f "${BASH_SOURCE[0]}")")/.."
binary="$root/build-sanitized/verselane_tests"
# 77: ctest counts the test as skipped (a plain build has no sanitized one; ./test makes it).
if [ ! -x "$binary" ]; then
  echo "run-sanitized-tests: $binary is missing; build it with tools/build-sanitized.sh (./test does)" >&2
  exit 77
fi
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:strict_string_checks=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
exec "$binary" --gtest_brief=1
