#!/usr/bin/env bash
# Configures and builds Verselane in build/ at the repository root. Extra arguments go to
# `cmake --build` (e.g. `--target verselane`). Used by ./run and ./test.
set -euo pipefail
cd "$(dirname "$(readlink -f "${BASH_SOURCE[0]}")")/.."

echo "verselane: configuring: cmake -S . -B build"
cmake -S . -B build
echo "verselane: building: cmake --build build -j$(nproc) $*"
cmake --build build -j"$(nproc)" "$@"
