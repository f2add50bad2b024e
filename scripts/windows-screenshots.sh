#!/usr/bin/env bash
# Takes the README's pictures of the Windows dialog under wine: docs/windows-dialog.png,
# docs/windows-about.png, docs/windows-progress.png and docs/windows-make-maps.png. Runs on a
# virtual X screen inside wine's own desktop, which draws the windows' title bars as Windows does.
# Needs the cross build of scripts/test-windows.sh.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-missing.sh x11-apps imagemagick

build=${ANIMARK_WINDOWS_BUILD_DIR:-build-windows}
wine=/usr/lib/wine/wine64
exe="$PWD/$build/src/win/animark.exe"
probe_exe="$PWD/$build/tests/win/animark_dialog_probe.exe"
work="$PWD/$build/screenshots"
rm -rf "$work"
mkdir -p "$work/wine"
key='HKEY_CURRENT_USER\SOFTWARE\Animark_kxdata'

exec 3< <(Xvfb -displayfd 1 -screen 0 1024x768x24 -nolisten tcp 2>/dev/null)
read -r display <&3
export DISPLAY=":$display" WINEPREFIX="$work/wine" WINEDEBUG=-all LANG=C LC_ALL=C
trap 'wineserver -k 2>/dev/null || true; pkill -f "Xvfb.*-displayfd" -P $$ || true' EXIT
wineserver -p
"$wine" wineboot --init >/dev/null 2>&1
# Every program of this prefix on one wine desktop, the probe too.
"$wine" reg add 'HKEY_CURRENT_USER\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null
"$wine" reg add 'HKEY_CURRENT_USER\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f \
  >/dev/null
# Taken from the next start of the wine server on.
wineserver -k
wineserver -w
wineserver -p

probe() { "$wine" "$probe_exe" "$@" | tr -d '\r'; }
windows_path() { printf 'Z:%s' "${1//\//\\}"; }
store() { "$wine" reg add "$key" /v "$1" /t "$2" /d "$3" /f >/dev/null; }
# The window captioned $1, read by its own id (wine's desktop may show a modal box as black).
shoot() {
  local window
  window=$(xdotool search --sync --name "^$1\$" | head -1)
  sleep 1
  xwd -silent -id "$window" | convert xwd:- "$2"
  echo "$2"
}
start() {
  "$wine" "$exe" &
  probe text 1000 >/dev/null
  xdotool windowfocus --sync "$(xdotool search --sync --name 'Wine desktop' | head -1)"
}

# The demo's settings, as a station owner would have them.
sample=$(windows_path "$PWD/data/sample")
store XN REG_SZ 'C:\inetpub\wwwroot\lightning.gif'
store DD REG_SZ "$sample"
store M2 REG_SZ "$sample\\map200.bmp"
store CM REG_SZ "Animark demo: a synthetic storm night"
store CH REG_SZ TRUE
store LR REG_SZ TRUE
for value in "ZM 1" "R2 4" "PS 20" "RT 10" "PB 50" "PL 300" "SD 14" "SM 7" "SY 2026" "SH 21" \
  "SN 0" "SS 0" "ED 15" "EM 7" "EY 2026" "EH 2" "EN 0" "ES 0"; do
  store "${value% *}" REG_DWORD "${value#* }"
done
start
shoot Animark docs/windows-dialog.png
xdotool key F1
shoot "About Animark" docs/windows-about.png
xdotool key Escape
sleep 0.5
xdotool key Escape
probe gone >/dev/null

# A day at a rate of 1 and a pause of 1: long enough to be seen.
store XN REG_SZ "$(windows_path "$work/day.gif")"
for value in "SD 1" "SH 0" "ED 2" "EH 0" "RT 1" "PB 1"; do
  store "${value% *}" REG_DWORD "${value#* }"
done
start
xdotool key Return
probe progress >/dev/null
sleep 1
shoot "Creating GIF animation..." docs/windows-progress.png
xdotool key Escape

# Make maps, filled in as a station owner near Copenhagen would, once the export has ended.
for _ in $(seq 100); do
  [ "$(probe enabled 1)" = 1 ] && break
  sleep 0.1
done
xdotool key alt+space p
probe box "Make maps" 1100 >/dev/null
xdotool type --delay 20 55.68
xdotool key Tab
xdotool type --delay 20 12.57
xdotool key Tab
xdotool type --delay 20 'C:\Users\station\maps'
shoot "Make maps" docs/windows-make-maps.png
