#!/usr/bin/env bash
# Writes the coastline file the Windows programs make maps from (FILE, by default
# build-coastdata/coastlines.dat) out of gmt's installed data, with animark-coastdata built for
# this machine. Takes about a minute; a file newer than the tool is kept.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-missing.sh cmake g++ pkg-config ccache libcli11-dev \
  gmt gmt-gshhg-low gmt-gshhg-high
build=${ANIMARK_COASTDATA_BUILD_DIR:-build-coastdata}
out=${1:-$build/coastlines.dat}
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DANIMARK_BUILD_UI=OFF -DANIMARK_BUILD_TESTS=OFF \
  -DANIMARK_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" -j "$(nproc)" --target animark-coastdata >/dev/null
tool="$build/tools/coastdata/animark-coastdata"
if [ ! "$out" -nt "$tool" ]; then
  "$tool" "$out"
fi
echo "$out"
