#!/usr/bin/env bash
# Cross-builds animark-cli.exe, the dialog animark.exe and the core tests for 64-bit Windows and
# runs them under wine: the tests through ctest, then the .exe itself with Windows paths (its demo
# export must equal docs/storm-night.gif and its sample set data/sample, byte for byte), then the
# dialog driven on a virtual X screen; last, the installer is built, installed and uninstalled.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(
  cmake ccache libgtest-dev libcli11-dev           # GoogleTest is built from its sources here
  g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 mingw-w64-tools
  wine wine64
  xvfb xdotool fonts-wine                          # the dialog's test on a virtual screen
  nsis                                             # the installer
  g++ pkg-config gmt gmt-gshhg-low gmt-gshhg-high  # the coastline file, made on this machine
)
bash scripts/install-missing.sh "${packages[@]}"

build=${ANIMARK_WINDOWS_BUILD_DIR:-build-windows}
wine=/usr/lib/wine/wine64
mkdir -p "$build/wine"
export WINEPREFIX="$PWD/$build/wine" WINEDEBUG=-all
# wine's helper processes hold ctest's output pipe until the wine server ends, which would cost
# seconds a test: one server stays up for the whole run (the tests are run at build time too, to
# list them) and is stopped at the end.
wineserver -p
trap 'wineserver -k' EXIT
"$wine" wineboot --init >/dev/null 2>&1

# Release without debug information: the quickest build, and the .exe as it ships.
cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
  -DCMAKE_BUILD_TYPE=Release -DANIMARK_BUILD_UI=OFF -DANIMARK_BUILD_TESTS=ON \
  -DANIMARK_BUILD_BENCH=OFF -DCMAKE_CROSSCOMPILING_EMULATOR="$wine" >/dev/null
cmake --build "$build" -j "$(nproc)"
# wine now and then fails to start a test program at all (no output, a few milliseconds): a test
# runs up to three times, so that such a start does not fail the run; a real failure fails thrice.
ctest --test-dir "$build" --output-on-failure -j "$(nproc)" --repeat until-pass:3

# The .exe as a station owner runs it: drive letters and backslashes (wine's Z: is /).
exe="$PWD/$build/src/cli/animark-cli.exe"
windows_path() { printf 'Z:%s' "${1//\//\\}"; }
check="$PWD/$build/exe-check"
rm -rf "$check"
mkdir -p "$check"
sample=$(windows_path "$PWD/data/sample")
demo=(export --quiet --map "200=$sample\\map200.bmp" --range 200 --rings 200=4
  --label-rings --crosshairs --from "2026-07-14 21:00" --to "2026-07-15 02:00" --rate 10
  --pause 50 --pause-last 300 --persistence 20 --comments "Animark demo: a synthetic storm night")
fail() {
  echo "test-windows: $*" >&2
  exit 1
}

for jobs in 1 2; do
  "$wine" "$exe" "${demo[@]}" --force --jobs "$jobs" --data-dir "$sample" \
    -o "$(windows_path "$check/storm-night.gif")"
  cmp "$check/storm-night.gif" docs/storm-night.gif || fail "demo with --jobs $jobs differs"
done
# Standard output in binary mode: a text-mode stream would turn each byte 10 into 13 10.
"$wine" "$exe" "${demo[@]}" --data-dir "$sample" -o - >"$check/stdout.gif"
cmp "$check/stdout.gif" docs/storm-night.gif || fail "demo to standard output differs"
# NUL is written as the device it is: no "NUL.gif", no temporary file.
(cd "$check" && "$wine" "$exe" "${demo[@]}" --data-dir "$sample" -o NUL)
[ -z "$(ls -A "$check" | grep -i nul)" ] || fail "-o NUL made a file"
# A folder name beyond the ANSI code page, in per-year folders of the stored "\\year" form.
year_folder="$check/Blitzdaten/Jürgen/2026"
mkdir -p "$year_folder"
cp data/sample/*.dat "$year_folder/"
"$wine" "$exe" "${demo[@]}" --force --data-dir "$(windows_path "$check/Blitzdaten/Jürgen")\\\\year" \
  -o "$(windows_path "$check/Jürgen.gif")"
cmp "$check/Jürgen.gif" docs/storm-night.gif || fail "demo from per-year folders differs"
# The small stream, when the Linux build is there to compare with.
linux_cli=${ANIMARK_LINUX_CLI:-build/src/cli/animark-cli}
if [ -x "$linux_cli" ]; then
  "$linux_cli" "${demo[@]}" --force --optimize --map 200=data/sample/map200.bmp \
    --data-dir data/sample -o "$check/optimized-linux.gif"
  for jobs in 1 3; do
    "$wine" "$exe" "${demo[@]}" --force --optimize --jobs "$jobs" --data-dir "$sample" \
      -o "$(windows_path "$check/optimized.gif")"
    cmp "$check/optimized.gif" "$check/optimized-linux.gif" ||
      fail "small stream with --jobs $jobs differs from the Linux build's"
  done
fi

"$wine" "$exe" sample "$(windows_path "$check/sample")" >/dev/null
# data/sample also holds its README, which the command does not write.
diff -r -x README.md "$check/sample" data/sample || fail "the sample set differs from data/sample"

# A scheduled task has no console: an existing file is not overwritten without --force, and
# nobody is asked.
status=0
"$wine" "$exe" "${demo[@]}" --data-dir "$sample" \
  -o "$(windows_path "$check/stdout.gif")" </dev/null 2>"$check/no-console.txt" || status=$?
[ "$status" -eq 2 ] && grep -q "No terminal to answer" "$check/no-console.txt" ||
  fail "a run without a console asked to overwrite (status $status)"

# Maps for a detector from the coastline file beside the program: without it the command says what
# is missing and writes nothing; with it the three maps are made and an export takes them.
coast=$(bash scripts/make-coast-data.sh | tail -n 1)
mkdir -p "$check/maps"
rm -f "$build/src/cli/coastlines.dat"
status=0
"$wine" "$exe" map --at 55.68,12.57 -o "$(windows_path "$check/maps")" 2>"$check/no-coast.txt" ||
  status=$?
[ "$status" -eq 2 ] && grep -q "coastlines.dat is missing; install Animark again" "$check/no-coast.txt" &&
  [ -z "$(ls -A "$check/maps")" ] || fail "a missing coastline file was not told (status $status)"
cp "$coast" "$build/src/cli/coastlines.dat"
cp "$coast" "$build/src/win/coastlines.dat"
"$wine" "$exe" map --quiet --at 55.68,12.57 -o "$(windows_path "$check/maps")"
"$wine" "$exe" export --quiet --data-dir "$sample" --range 200 \
  --map "200=$(windows_path "$check/maps/map200.bmp")" --from "2026-07-14 21:00" \
  --to "2026-07-15 02:00" -o "$(windows_path "$check/made-map.gif")" ||
  fail "an export over a made map failed"

# The dialog as a user drives it; the installer made, installed and uninstalled.
bash tests/win/dialog_test.sh
bash tests/win/installer_test.sh
echo "test-windows: the tests, the .exe's exports, the dialog and the installer pass under wine"
