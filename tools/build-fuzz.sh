#!/usr/bin/env bash
# Configures and builds the fuzz targets in build-fuzz/ with clang, AddressSanitizer and
# UndefinedBehaviorSanitizer. Used by ./test; run it by hand before a long fuzzing session.
set -euo pipefail
cd "$(dirname "$(readlink -f "${BASH_SOURCE[0]}")")/.."
# -O1, as the sanitizers are meant to be used (and the fuzzers run fast), with line tables: reports
# as exact, and the compile a good deal quicker than at -O2 -g.
SANITIZED_FLAGS="-O1 -g1 -DNDEBUG"

echo "verselane: configuring the fuzz build: cmake -S . -B build-fuzz (clang++)"
cmake -S . -B build-fuzz -DVERSELANE_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="$SANITIZED_FLAGS" >/dev/null
echo "verselane: building the fuzz targets"
cmake --build build-fuzz -j"$(nproc)"
