#!/usr/bin/env bash
# Runs one fuzz target on its corpus for a number of seconds:
#   tools/run-fuzzer.sh NAME [SECONDS]        e.g. tools/run-fuzzer.sh env_file_fuzzer 3600
# New inputs the fuzzer finds go to a scratch folder; with --grow-corpus the ones that add coverage
# are merged into fuzz/corpus/ afterwards (otherwise the corpus is only read). A crash leaves its
# input in the scratch folder and fails the run. Build first with tools/build-fuzz.sh.
set -euo pipefail
root="$(dirname "$(readlink -f "${BASH_SOURCE[0]}")")/.."
grow=0
if [ "${1:-}" = --grow-corpus ]; then grow=1; shift; fi
name="$1"
seconds="${2:-5}"
binary="$root/build-fuzz/$name"
corpus="$root/fuzz/corpus/${name%_fuzzer}"

# 77: ctest counts the test as skipped (a plain build has no fuzz build; ./test makes it).
if [ ! -x "$binary" ]; then
  echo "run-fuzzer: $binary is missing; build it with tools/build-fuzz.sh (./test does)" >&2
  exit 77
fi
mkdir -p "$corpus"
work="$(mktemp -d "${TMPDIR:-/tmp}/verselane-fuzz-$name-XXXXXX")"
echo "run-fuzzer: $name for ${seconds}s on $corpus (new inputs and crashes in $work)"
if ! "$binary" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$work/" "$work" "$corpus"; then
  echo "run-fuzzer: $name failed; the input is in $work" >&2
  exit 1
fi
if [ "$grow" = 1 ]; then
  "$binary" -merge=1 -timeout=10 -rss_limit_mb=2048 "$corpus" "$work" 2>&1 | grep -E "MERGE-OUTER: [0-9]+ new files" || true
fi
rm -rf "$work"
