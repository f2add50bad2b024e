#!/usr/bin/env bash
# animark under a real X server: started once with a fresh settings folder, its window is found,
# Escape goes to it, the program ends by itself and Exit has written the settings file.
#   x11_exit_test.sh PATH-TO-ANIMARK
set -euo pipefail
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME=$work/config
export ANIMARK=$1 STORE=$XDG_CONFIG_HOME/animark/settings.reg

timeout 120 xvfb-run -a bash -c '
  set -euo pipefail
  "$ANIMARK" &
  pid=$!
  window=$(timeout 60 xdotool search --sync --onlyvisible --name "^Animark$" | head -n 1)
  # Start-up has filled the store with the defaults; taken away, only Exit can write it again.
  rm "$STORE"
  xdotool windowfocus --sync "$window"
  xdotool key Escape
  wait "$pid"
'
if ! grep -q '^"UN"=dword:00000000' "$STORE"; then
  echo "Exit did not write the settings file $STORE" >&2
  exit 1
fi
