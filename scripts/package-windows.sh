#!/usr/bin/env bash
# Makes dist/animark-VERSION-windows-x64.zip: animark-cli.exe and the dialog animark.exe (static,
# needing no DLL), the coastline file they make maps from (scripts/make-coast-data.sh) with its
# notice and licences, the README and the sample data; and beside it the installer
# dist/animark-VERSION-setup.exe (packaging/windows/animark.nsi). Cross-builds the .exe files
# with the configuration of scripts/test-windows.sh, whose packages it needs (run that first on a
# fresh machine).
set -euo pipefail
cd "$(dirname "$0")/.."

build=${ANIMARK_WINDOWS_BUILD_DIR:-build-windows}
version=$(sed -n 's/^project(Animark VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
  -DCMAKE_BUILD_TYPE=Release -DANIMARK_BUILD_UI=OFF -DANIMARK_BUILD_TESTS=ON \
  -DANIMARK_BUILD_BENCH=OFF -DCMAKE_CROSSCOMPILING_EMULATOR=/usr/lib/wine/wine64 >/dev/null
cmake --build "$build" -j "$(nproc)" --target animark-cli animark
coast=$(bash scripts/make-coast-data.sh | tail -n 1)

name="animark-$version-windows-x64"
staging="$build/$name"
rm -rf "$staging"
mkdir -p "$staging/sample" dist
x86_64-w64-mingw32-strip -o "$staging/animark-cli.exe" "$build/src/cli/animark-cli.exe"
x86_64-w64-mingw32-strip -o "$staging/animark.exe" "$build/src/win/animark.exe"
cp README.md "$staging/"
cp "$coast" "$staging/coastlines.dat"
cp packaging/windows/coastlines-notice.txt "$staging/"
cp /usr/share/common-licenses/LGPL-3 "$staging/coastlines-LGPL-3.txt"
cp /usr/share/common-licenses/GPL-3 "$staging/coastlines-GPL-3.txt"
cp data/sample/* "$staging/sample/"
rm -f "dist/$name.zip"
(cd "$build" && python3 -m zipfile -c "$OLDPWD/dist/$name.zip" "$name")
echo "dist/$name.zip"

setup="dist/animark-$version-setup.exe"
makensis -V2 -DVERSION="$version" -DSOURCE_DIR="$PWD" -DSTAGING_DIR="$PWD/$staging" \
  -DOUT_FILE="$PWD/$setup" packaging/windows/animark.nsi
echo "$setup"
