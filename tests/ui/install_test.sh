#!/usr/bin/env bash
# cmake --install puts both programs, a valid desktop entry and the icons where a desktop finds
# them.
#   install_test.sh BUILD-DIR
set -euo pipefail
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$1" --prefix "$prefix" > /dev/null

status=0
for file in bin/animark bin/animark-cli share/applications/animark.desktop \
  share/icons/hicolor/{16x16,22x22,24x24,32x32,48x48,64x64,128x128,256x256}/apps/animark.png; do
  [ -f "$prefix/$file" ] || { echo "not installed: $file" >&2; status=1; }
done
[ -x "$prefix/bin/animark" ] || { echo "bin/animark is not executable" >&2; status=1; }
desktop-file-validate "$prefix/share/applications/animark.desktop" || status=1
exit $status
