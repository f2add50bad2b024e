#!/usr/bin/env bash
# Rebuilds the generator and rewrites the committed sample set in data/sample.
set -euo pipefail
cd "$(dirname "$0")/../.."
build=${ANIMARK_BUILD_DIR:-build}
cmake -S . -B "$build" >/dev/null
cmake --build "$build" --target animark-samplegen -j "$(nproc)"
rm -f data/sample/*.dat data/sample/map*.bmp
"$build/tools/samplegen/animark-samplegen" data/sample
ls -l data/sample
