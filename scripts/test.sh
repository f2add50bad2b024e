#!/usr/bin/env bash
# Installs what is missing, builds everything (tests and benchmarks) and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
build=${ANIMARK_BUILD_DIR:-build}
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DANIMARK_BUILD_TESTS=ON -DANIMARK_BUILD_BENCH=ON "$@"
cmake --build "$build" -j "$(nproc)"
ctest --test-dir "$build" --output-on-failure -j "$(nproc)"
