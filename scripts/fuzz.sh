#!/usr/bin/env bash
# Builds the fuzz targets with clang and libFuzzer (in build-fuzz) and runs each for a fixed number
# of inputs, starting from its seed corpus in fuzz/corpus. Fails on any finding: a crash, a
# sanitizer report, a leak, a hang or a broken property; the input is kept in build-fuzz/findings.
# ANIMARK_FUZZ_RUNS_SCALE (default 1) multiplies every run count, e.g. 0.1 for a quick look.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
build=${ANIMARK_FUZZ_BUILD_DIR:-build-fuzz}
scale=${ANIMARK_FUZZ_RUNS_SCALE:-1}

targets=(background_map day_files settings_file export_options period_text)
cmake -S . -B "$build" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DANIMARK_BUILD_FUZZ=ON -DANIMARK_BUILD_TESTS=OFF -DANIMARK_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" -j "$(nproc)" --target "${targets[@]/#/fuzz_}"

# Inputs per target, chosen for under a minute each on a busy 2-core machine: the map target checks
# all 307200 cells of every map it loads, the day-file target sets up a strike window (about 1 MB of
# cell counts) for every input, and the period-text target checks a user's own pictures against 64
# values whenever it is given some.
declare -A runs=([background_map]=2000 [day_files]=7000 [settings_file]=30000
                 [export_options]=300000 [period_text]=15000)

root=$(pwd)
findings="$root/$build/findings"
mkdir -p "$findings"
failed=()
for target in "${targets[@]}"; do
  # New inputs go to a working corpus in the build folder; the committed seeds stay as they are.
  work="$root/$build/corpus/$target"
  mkdir -p "$work"
  count=$(awk -v n="${runs[$target]}" -v s="$scale" 'BEGIN { r = int(n * s); print r < 1 ? 1 : r }')
  log="$root/$build/fuzz_$target.log"
  start=$SECONDS
  if "$build/fuzz/fuzz_$target" -runs="$count" -timeout=20 -rss_limit_mb=2048 \
      -artifact_prefix="$findings/$target-" "$work" "$root/fuzz/corpus/$target" >"$log" 2>&1; then
    echo "fuzz_$target: $count inputs, no finding ($((SECONDS - start)) s)"
  else
    echo "fuzz_$target: FINDING (log: $log, input in $findings)" >&2
    grep -E 'property broken|ERROR|runtime error|SUMMARY' "$log" | head -5 >&2 || true
    failed+=("$target")
  fi
done
((${#failed[@]} == 0)) || { echo "fuzzing found problems in: ${failed[*]}" >&2; exit 1; }
