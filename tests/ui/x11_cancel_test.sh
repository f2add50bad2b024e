#!/usr/bin/env bash
# Cancel under a real X server, where clicks and keys reach the program through its event queue
# while the export runs: a month at a frame a minute (a minute's work) is started twice from the
# dialog and stopped at once, first with a click on Cancel, then with Escape in the progress
# window. Each time the progress window must go within seconds and leave no file behind.
#   x11_cancel_test.sh PATH-TO-ANIMARK
set -euo pipefail
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME=$work/config
export ANIMARK=$1 WORK=$work
mkdir -p "$XDG_CONFIG_HOME/animark" "$work/out"
# 1 to 31 July 2026 at one minute a second: 43,201 frames.
cat >"$XDG_CONFIG_HOME/animark/settings.reg" <<EOF
REGEDIT4

[HKEY_CURRENT_USER\\SOFTWARE\\Animark_kxdata]
"XN"="$work/out/month.gif"
"DD"="$work/out"
"RT"=dword:00000001
"SD"=dword:00000001
"SM"=dword:00000007
"SY"=dword:000007ea
"SH"=dword:00000000
"SN"=dword:00000000
"SS"=dword:00000000
"ED"=dword:0000001f
"EM"=dword:00000007
"EY"=dword:000007ea
"EH"=dword:00000000
"EN"=dword:00000000
"ES"=dword:00000000
EOF

timeout 120 xvfb-run -a bash -c '
  set -euo pipefail
  "$ANIMARK" &
  pid=$!
  dialog=$(timeout 60 xdotool search --sync --onlyvisible --name "^Animark$" | head -n 1)
  for how in click escape; do
    xdotool windowfocus --sync "$dialog"
    xdotool key Return
    progress=$(timeout 30 xdotool search --sync --onlyvisible --name "^Creating GIF" | head -n 1)
    if [ "$how" = click ]; then
      # Cancel is centred under the bar, 61 to 75 of the window'"'"'s 79 dialog units down.
      eval "$(xdotool getwindowgeometry --shell "$progress")"
      xdotool mousemove --window "$progress" $((WIDTH / 2)) $((HEIGHT * 68 / 79)) click 1
    else
      xdotool windowfocus --sync "$progress"
      xdotool key Escape
    fi
    for _ in $(seq 50); do
      xdotool search --onlyvisible --name "^Creating GIF" >/dev/null || break
      sleep 0.2
    done
    if xdotool search --onlyvisible --name "^Creating GIF" >/dev/null; then
      echo "$how did not stop the export" >&2
      kill "$pid"
      exit 1
    fi
    if [ -n "$(ls -A "$WORK/out")" ]; then
      echo "$how left files behind:" $(ls -A "$WORK/out") >&2
      kill "$pid"
      exit 1
    fi
  done
  xdotool windowfocus --sync "$dialog"
  xdotool key Escape
  wait "$pid"
'
