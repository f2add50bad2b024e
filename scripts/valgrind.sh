#!/usr/bin/env bash
# Runs every core test executable of the RelWithDebInfo build under valgrind's memcheck: reads of
# uninitialised memory and leaks that the sanitizer build cannot see. The dialog's tests (Qt, an
# X server) and the benchmarks are left out. Fails on any error or definite leak.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
build=${ANIMARK_BUILD_DIR:-build}
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DANIMARK_BUILD_TESTS=ON >/dev/null
cmake --build "$build" -j "$(nproc)"

mapfile -t tests < <(find "$build/tests" -path "$build/tests/ui" -prune -o \
  -type f -executable -name 'animark_*_tests' -print | sort)
((${#tests[@]})) || { echo "no test executables under $build/tests" >&2; exit 1; }

logs="$(pwd)/$build/valgrind"
mkdir -p "$logs"
failed=()
for test in "${tests[@]}"; do
  name=$(basename "$test")
  start=$SECONDS
  # The tests find their data relative to tests/, as under ctest. Child processes (the command
  # line the CLI tests start) are not traced: they are tested under the sanitizers.
  if (cd tests && valgrind --tool=memcheck --error-exitcode=1 --leak-check=full \
        --errors-for-leak-kinds=definite,indirect --track-origins=yes --quiet \
        --log-file="$logs/$name.log" "$OLDPWD/$test" --gtest_brief=1 >"$logs/$name.out" 2>&1); then
    echo "$name: clean ($((SECONDS - start)) s)"
  else
    echo "$name: FAILED under valgrind (log: $logs/$name.log, output: $logs/$name.out)" >&2
    failed+=("$name")
  fi
done
((${#failed[@]} == 0)) || { echo "valgrind found problems in: ${failed[*]}" >&2; exit 1; }
