#!/usr/bin/env bash
# Installs what is missing, builds animark-cli and exports the bundled sample storm night.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
build=${ANIMARK_BUILD_DIR:-build}
# The same configuration as scripts/test.sh, so that either reuses what the other built.
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DANIMARK_BUILD_TESTS=ON \
  -DANIMARK_BUILD_BENCH=ON >/dev/null
cmake --build "$build" -j "$(nproc)" --target animark-cli

mkdir -p out
sample=data/sample
"$build/src/cli/animark-cli" export --force \
  --data-dir "$sample" \
  --map 200="$sample/map200.bmp" \
  --range 200 --rings 200=4 --label-rings --crosshairs \
  --from "2026-07-14 21:00" --to "2026-07-15 02:00" \
  --rate 10 --pause 50 --pause-last 300 --persistence 20 \
  --comments "Animark demo: a synthetic storm night" \
  -o out/storm-night.gif
echo "The animation is in $(pwd)/out/storm-night.gif"
