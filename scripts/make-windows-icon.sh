#!/usr/bin/env bash
# Makes src/win/animark.ico, the Windows program's icon, from the same drawing as the Linux icons:
# the 16, 32 and 48 pixel images as bitmaps, the 256 pixel one as PNG, as Windows expects. The
# cross build has no Qt to draw with, so the file is kept in the tree; run this after changing the
# drawing (src/ui/app_icon.cpp), with the Linux build in build/ (or ANIMARK_BUILD_DIR).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${ANIMARK_BUILD_DIR:-build}
cmake --build "$build" --target animark-make-icons >/dev/null
icons=$(mktemp -d)
trap 'rm -rf "$icons"' EXIT
"$build/src/ui/animark-make-icons" "$icons"
convert "$icons"/hicolor/{16x16,32x32,48x48,256x256}/apps/animark.png src/win/animark.ico
