#!/usr/bin/env bash
# Configures and builds the unit and engine tests with AddressSanitizer and
# UndefinedBehaviorSanitizer in build-sanitized/. Used by ./test.
set -euo pipefail
cd "$(dirname "$(readlink -f "${BASH_SOURCE[0]}")")/.."

echo "verselane: configuring the sanitized build: cmake -S . -B build-sanitized"
cmake -S . -B build-sanitized -DVERSELANE_SANITIZE=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
echo "verselane: building the sanitized tests"
cmake --build build-sanitized -j"$(nproc)"
