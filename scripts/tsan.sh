#!/usr/bin/env bash
# The suite once more under ThreadSanitizer, for the frames compressed on worker threads. The two
# tests that drive a real X server are left out: the X libraries, built without the sanitizer,
# report their own locking. Qt's own threads are suppressed in tests/tsan.supp, ours are not.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
build=${ANIMARK_TSAN_BUILD_DIR:-build-tsan}
export TSAN_OPTIONS="suppressions=$(pwd)/tests/tsan.supp halt_on_error=1"
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DANIMARK_TSAN=ON \
  -DANIMARK_BUILD_TESTS=ON -DANIMARK_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" -j "$(nproc)"
ctest --test-dir "$build" --output-on-failure -j "$(nproc)" -E '^animark_x11_'
