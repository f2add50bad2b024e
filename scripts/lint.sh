#!/usr/bin/env bash
# Fails on a clang-format difference, on a clang-tidy finding in src/ and on anything clang will
# not build: the tree is also built once with clang, which gives clang-tidy its compile commands.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
build=${ANIMARK_CLANG_BUILD_DIR:-build-clang}

mapfile -t sources < <(git ls-files '*.cpp' '*.h')
clang-format --dry-run --Werror "${sources[@]}"

cmake -S . -B "$build" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=Debug \
  -DANIMARK_BUILD_TESTS=ON -DANIMARK_BUILD_BENCH=ON >/dev/null
cmake --build "$build" -j "$(nproc)"
run-clang-tidy -p "$build" -quiet "$(pwd)/src/" >"$build/clang-tidy.log" 2>&1 || {
  grep -E 'error:|warning:' -A3 "$build/clang-tidy.log"
  echo "clang-tidy found problems in src/ (full log: $build/clang-tidy.log)" >&2
  exit 1
}
echo "clang-format, clang build and clang-tidy: clean"
