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
  share/man/man1/animark-cli.1 share/bash-completion/completions/animark-cli \
  share/icons/hicolor/{16x16,22x22,24x24,32x32,48x48,64x64,128x128,256x256}/apps/animark.png; do
  [ -f "$prefix/$file" ] || { echo "not installed: $file" >&2; status=1; }
done
[ -x "$prefix/bin/animark" ] || { echo "bin/animark is not executable" >&2; status=1; }
desktop-file-validate "$prefix/share/applications/animark.desktop" || status=1
# The manual page renders without a warning.
warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$prefix/share/man/man1/animark-cli.1" 2>&1 >/dev/null) || status=1
[ -z "$warnings" ] || { echo "$warnings" >&2; status=1; }
# The completion offers the options that start as typed.
completed=$(bash -c 'source "$1"; COMP_WORDS=(animark-cli export --ra); COMP_CWORD=2; _animark_cli
  echo "${COMPREPLY[*]}"' _ "$prefix/share/bash-completion/completions/animark-cli")
[ "$completed" = "--range --rate" ] || { echo "completion of --ra: $completed" >&2; status=1; }
exit $status
