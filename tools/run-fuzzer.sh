#!/usr/bin/env bash
# Runs one fuzz target on its corpus for a number of seconds:
#   tools/run-fuzzer.sh NAME [SECONDS]        e.g. tools/run-fuzzer.sh env_file_fuzzer 3600
# New inputs the fuzzer finds go to a scratch folder (the corpus in fuzz/corpus/ is only read);
# a crash leaves its input there and fails the run. Build first with tools/build-fuzz.sh.
set -euo pipefail
root="$(dirname "$(readlink -f "${BASH_SOURCE[0]}")")/.."
name="$1"
seconds="${2:-5}"
binary="$root/build-fuzz/$name"
corpus="$root/fuzz/corpus/${name%_fuzzer}"

if [ ! -x "$binary" ]; then
  echo "run-fuzzer: $binary is missing; build it with tools/build-fuzz.sh (./test does)" >&2
  exit 1
fi
mkdir -p "$corpus"
work="$(mktemp -d "${TMPDIR:-/tmp}/verselane-fuzz-$name-XXXXXX")"
echo "run-fuzzer: $name for ${seconds}s on $corpus (new inputs and crashes in $work)"
if "$binary" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$work/" "$work" "$corpus"; then
  rm -rf "$work"
else
  echo "run-fuzzer: $name failed; the input is in $work" >&2
  exit 1
fi
