#!/usr/bin/env bash
# animark.exe as a user drives it, under wine on a virtual X screen with a fresh wine prefix:
# xdotool types into the fields and presses the keys, animark_dialog_probe.exe reads the dialog's
# controls and message boxes, `wine reg query` reads what it stored. Run by
# scripts/test-windows.sh after the cross build.
set -euo pipefail
cd "$(dirname "$0")/../.."

build=${ANIMARK_WINDOWS_BUILD_DIR:-build-windows}
wine=/usr/lib/wine/wine64
exe="$PWD/$build/src/win/animark.exe"
cli="$PWD/$build/src/cli/animark-cli.exe"
probe_exe="$PWD/$build/tests/win/animark_dialog_probe.exe"
work="$PWD/$build/dialog-test"
rm -rf "$work"
mkdir -p "$work/wine" "$work/out"
key='HKEY_CURRENT_USER\SOFTWARE\Animark_kxdata'

fail() {
  echo "dialog_test: $*" >&2
  exit 1
}
windows_path() { printf 'Z:%s' "${1//\//\\}"; }

# A display of its own, and a wine server that stays up for the whole test in a fresh prefix.
exec 3< <(Xvfb -displayfd 1 -screen 0 1024x768x24 -nolisten tcp 2>/dev/null)
read -r display <&3
export DISPLAY=":$display" WINEPREFIX="$work/wine" WINEDEBUG=-all LANG=C LC_ALL=C
cleanup() {
  wineserver -k 2>/dev/null || true
  pkill -f "Xvfb.*-displayfd" -P $$ 2>/dev/null || true
}
trap cleanup EXIT
wineserver -p
"$wine" wineboot --init >/dev/null 2>&1

probe() { "$wine" "$probe_exe" "$@" | tr -d '\r'; }

# Starts the dialog and gives its window the keyboard (focus follows the pointer under Xvfb).
dialog_pid=
start_dialog() {
  "$wine" "$exe" &
  dialog_pid=$!
  probe text 1000 >/dev/null || fail "the dialog did not open"
  dialog_window=$(xdotool search --sync --onlyvisible --name '^Animark$' | head -1)
  xdotool windowfocus --sync "$dialog_window"
}
keys() { xdotool key --delay 30 "$@"; }
type_text() { xdotool type --delay 20 "$1"; }
# The open message box must say $1 (with a second argument "start": begin with $1); Enter
# dismisses it.
answer_message() {
  local said
  said=$(probe message) || fail "no message box (expected \"$1\")"
  if [ "${2:-}" = start ]; then
    [[ "$said" == "$1"* ]] || fail "message \"$said\", expected one starting \"$1\""
  else
    [ "$said" = "$1" ] || fail "message \"$said\", expected \"$1\""
  fi
  local box
  for box in $(xdotool search --onlyvisible --name '^animark$'); do
    [ "$box" = "$dialog_window" ] || xdotool windowfocus --sync "$box"
  done
  keys Return
}
# Exit by Escape; the program must end.
exit_dialog() {
  keys Escape
  [ -z "${1:-}" ] || answer_message "$1"
  wait "$dialog_pid" || fail "animark.exe ended with status $?"
}
# The box takes a moment to hand the focus back: waits for the focus and selection "ID START END".
wait_for_focus() {
  for _ in $(seq 20); do
    [ "$(probe focus)" = "$1" ] && return 0
    sleep 0.1
  done
  fail "after the message: focus and selection $(probe focus), expected $1"
}
# Make maps from the system menu (Alt+Space, P), the box given the keyboard.
open_make_maps() {
  xdotool windowfocus --sync "$dialog_window"
  keys alt+space p
  maps_box=$(timeout 20 xdotool search --sync --onlyvisible --name '^Make maps$' | head -1)
  [ -n "$maps_box" ] || fail "Alt+Space P opened no Make maps box"
  xdotool windowfocus --sync "$maps_box"
}
map_box_text() { probe box "Make maps" "$@"; }
# Types latitude $1, longitude $2 and folder $3 into the open box, the latitude's text selected
# or empty, and presses Make maps.
make_maps() {
  type_text "$1"
  keys Tab && type_text "$2"
  keys Tab && type_text "$3"
  keys Return
}
stored() { "$wine" reg query "$key" /v "$1" | tr -d '\r' | awk -v name="$1" '$1 == name {print $2, $3}'; }
wait_for_export() {
  for _ in $(seq 100); do
    [ -e "$1" ] && [ "$(probe enabled 1)" = 1 ] && return 0
    sleep 0.1
  done
  fail "no export to $1"
}

# 1. Every field typed (the tab order from the export file to the data folder), Enter: the GIF
#    is the one animark-cli.exe writes for the settings the dialog then stores.
sample=$(windows_path "$PWD/data/sample")
gif="$work/out/storm.gif"
start_dialog
type_text "$(windows_path "$gif")"
keys Tab && type_text "7/14/2026 9:00 PM"
keys Tab && type_text "7/15/2026 2:00 AM"
keys Tab Down        # zoom: 200 mi
keys Tab Tab && type_text "$sample\\map200.bmp"
keys Tab Tab Tab && type_text "4"
keys Tab Tab space   # crosshairs
keys Tab Tab space   # label rings
keys Tab && type_text "20"
keys Tab && type_text "10"
keys Tab && type_text "50"
keys Tab && type_text "300"
keys Tab Tab && type_text "Animark demo: a synthetic storm night"
keys Tab && type_text "$sample"
keys Return
wait_for_export "$gif"
cmp "$gif" docs/storm-night.gif || fail "the dialog's GIF differs from the demo's"
exit_dialog

values=$("$wine" reg query "$key" | tr -d '\r')
for name in XN CM DD M1 M2 M3 CH LR; do
  grep -Eq "^ +$name +REG_SZ" <<<"$values" || fail "$name is not stored as REG_SZ"
done
for name in IT PB PL PS RT R1 R2 R3 ZM UN SD SM SY SH SN SS ED EM EY EH EN ES; do
  grep -Eq "^ +$name +REG_DWORD" <<<"$values" || fail "$name is not stored as REG_DWORD"
done
[ "$(stored RT)" = "REG_DWORD 0xa" ] || fail "RT stored as $(stored RT)"
[ "$(stored CH)" = "REG_SZ TRUE" ] || fail "CH stored as $(stored CH)"
[ "$(stored EH)" = "REG_DWORD 0x2" ] || fail "EH stored as $(stored EH)"
"$wine" "$cli" export --stored --quiet --force -o "$(windows_path "$work/out/cli.gif")"
cmp "$gif" "$work/out/cli.gif" || fail "animark-cli.exe --stored writes another GIF"

# 2. F1 opens the About box and Escape closes it; the system menu's "Optimize for the web" and
#    "Colour strikes by age" are checked by their access keys. A rate of 0: the range message,
#    then the rate field has the focus with its text selected; Make maps refuses what it must
#    (below); Exit tells the rate's message once more and still saves and closes.
start_dialog
keys F1
about=$(timeout 20 xdotool search --sync --onlyvisible --name '^About Animark$' | head -1)
[ -n "$about" ] || fail "F1 opened no About box"
xdotool windowfocus --sync "$about"
keys Escape
timeout 20 bash -c "while xdotool search --onlyvisible --name '^About Animark$' >/dev/null; do
  sleep 0.1; done" || fail "Escape did not close the About box"
xdotool windowfocus --sync "$dialog_window"
keys alt+space o
keys alt+space b
keys Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab
type_text "0"
keys Return
answer_message "Please enter an integer between 1 and 65535."
wait_for_focus "1010 0 1"
# Make maps offers the Documents folder while the 100-mile map field is empty. A bad latitude:
# its message, then the latitude has the focus with its text selected. A folder that does not
# exist: no map, the map fields as they were; the box offers the same place and folder again.
map_fields() { probe box Animark 1006 1007 1008; }
fields_before=$(map_fields)
open_make_maps
[[ "$(map_box_text 1102)" == *\\Documents ]] || fail "Make maps offers \"$(map_box_text 1102)\""
type_text "91"
keys Return
answer_message "Please enter the detector's latitude in degrees, between -90 and 90 (negative south of the equator)."
wait_for_focus "1100 0 2"
xdotool windowfocus --sync "$maps_box"
make_maps 55.68 12.57 'C:\nowhere\maps'
answer_message 'The map file C:\nowhere\maps\map100.bmp could not be created (' start
[ "$(map_fields)" = "$fields_before" ] || fail "the map fields changed without maps: $(map_fields)"
open_make_maps
offered=$(map_box_text 1100 1101 1102 | paste -sd ' ')
[ "$offered" = '55.68 12.57 C:\nowhere\maps' ] || fail "Make maps offers again \"$offered\""
keys Escape
xdotool windowfocus --sync "$dialog_window"
exit_dialog "Please enter an integer between 1 and 65535."
[ "$(stored RT)" = "REG_DWORD 0x0" ] || fail "the refused rate is stored as $(stored RT)"
[ "$(stored OptimizeForWeb)" = "REG_SZ TRUE" ] ||
  fail "Optimize for the web stored as $(stored OptimizeForWeb)"
[ "$(stored AgeColours)" = "REG_SZ TRUE" ] ||
  fail "Colour strikes by age stored as $(stored AgeColours)"
"$wine" reg add "$key" /v RT /t REG_DWORD /d 10 /f >/dev/null

# 3. A stored 31 April: the start field is empty, Create GIF tells why and writes nothing, Exit
#    tells it again, saves the start as -1 parts and closes.
rm "$gif"
"$wine" reg add "$key" /v SD /t REG_DWORD /d 31 /f >/dev/null
"$wine" reg add "$key" /v SM /t REG_DWORD /d 4 /f >/dev/null
start_dialog
[ -z "$(probe text 1001)" ] || fail "31 April shows as \"$(probe text 1001)\""
keys Return
answer_message "Please enter a date and/or time."
[ ! -e "$gif" ] || fail "a GIF was written for a start of 31 April"
exit_dialog "Please enter a date and/or time."
for name in SD SM SY SH SN SS; do
  [ "$(stored $name)" = "REG_DWORD 0xffffffff" ] || fail "$name stored as $(stored $name)"
done

# 4. An export of 144,001 frames (a day at a rate of 1 and a pause of 1): the progress window
#    counts them all on its bar, and Escape there stops the export, leaving no file.
for value in "SD 1" "SM 7" "SY 2026" "SH 0" "SN 0" "SS 0" "ED 2" "EM 7" "EY 2026" "EH 0" "EN 0" \
  "ES 0" "RT 1" "PB 1"; do
  "$wine" reg add "$key" /v "${value% *}" /t REG_DWORD /d "${value#* }" /f >/dev/null
done
"$wine" reg add "$key" /v XN /t REG_SZ /d "$(windows_path "$work/out/day.gif")" /f >/dev/null
start_dialog
keys Return
shown=$(probe progress) || fail "no progress window"
[ "$shown" = "Number of frames: 144001 (bar 1 to 144001)" ] || fail "progress window: $shown"
xdotool windowfocus --sync "$(xdotool search --onlyvisible --name '^Creating GIF animation' | head -1)"
keys Escape
for _ in $(seq 100); do
  [ "$(probe enabled 1)" = 1 ] && break
  sleep 0.1
done
[ "$(probe enabled 1)" = 1 ] || fail "Create GIF is not enabled again after the cancelled export"
[ -z "$(ls "$work/out" | grep -v '^cli.gif$')" ] || fail "the cancelled export left $(ls "$work/out")"
exit_dialog

# 5. Make maps with the coastline file beside the program: a progress window, then the three maps
#    in the folder and named in the map fields.
[ -f "$(dirname "$exe")/coastlines.dat" ] || fail "no coastlines.dat beside $exe"
mkdir -p "$work/maps"
folder=$(windows_path "$work/maps")
expected=$(printf '%s\n' "$folder\map100.bmp" "$folder\map200.bmp" "$folder\map300.bmp")
start_dialog
open_make_maps
make_maps 55.68 12.57 "$folder"
for _ in $(seq 150); do
  [ "$(map_fields)" = "$expected" ] && break
  sleep 0.2
done
[ "$(map_fields)" = "$expected" ] || fail "after Make maps the map fields hold $(map_fields)"
for range in 100 200 300; do
  [ "$(stat -c %s "$work/maps/map$range.bmp")" = 153718 ] || fail "no map$range.bmp made"
done
exit_dialog

echo "dialog_test: passed"
