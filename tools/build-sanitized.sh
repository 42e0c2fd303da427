#!/usr/bin/env bash
# Configures and builds the unit and engine tests with AddressSanitizer and
# UndefinedBehaviorSanitizer in build-sanitized/. Used by ./test.
set -euo pipefail
cd "$(dirname "$(readlink -f "${BASH_SOURCE[0]}")")/.."
# -O1, as the sanitizers are meant to be used: reports as exact, and the compile of the
# instrumented code a good deal quicker than at -O2.
SANITIZED_FLAGS="-O1 -g -DNDEBUG"

echo "verselane: configuring the sanitized build: cmake -S . -B build-sanitized"
cmake -S . -B build-sanitized -DVERSELANE_SANITIZE=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="$SANITIZED_FLAGS" >/dev/null
echo "verselane: building the sanitized tests"
cmake --build build-sanitized -j"$(nproc)"
