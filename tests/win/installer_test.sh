#!/usr/bin/env bash
# Makes the installer as it ships (scripts/package-windows.sh), installs it silently into a wine
# prefix, runs the installed command line, then uninstalls silently: the files, the Start-menu
# entry and the "Apps & features" entry must go, the user's settings must stay.
#
# The build folder comes from ANIMARK_WINDOWS_BUILD_DIR, the wine prefix from WINEPREFIX
# (default: the build folder's "wine").
set -euo pipefail
cd "$(dirname "$0")/../.."

fail() {
  echo "installer_test: FAILED: $*" >&2
  exit 1
}

build=${ANIMARK_WINDOWS_BUILD_DIR:-build-windows}

wine=/usr/lib/wine/wine64
export WINEDEBUG=-all WINEPREFIX=${WINEPREFIX:-$PWD/$build/wine}
mkdir -p "$WINEPREFIX"
# A server already up for the prefix (scripts/test-windows.sh keeps one) is used and left up.
if wineserver -p 2>/dev/null; then
  trap 'wineserver -k' EXIT
fi
"$wine" wineboot --init >/dev/null 2>&1

version=$(sed -n 's/^project(Animark VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
log="$PWD/$build/package-windows.log"
bash scripts/package-windows.sh >"$log" 2>&1 || fail "packaging: $(cat "$log")"
setup="$PWD/dist/animark-$version-setup.exe"
cli="$PWD/$build/animark-$version-windows-x64/animark-cli.exe"

# The folder of a 64-bit program, not "Program Files (x86)".
dir="$WINEPREFIX/drive_c/Program Files/Animark"
link="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Animark.lnk"
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Animark'
settings='HKCU\SOFTWARE\Animark_kxdata'
# A run before may have stopped half-way.
rm -rf "$dir" "$link"
"$wine" reg delete "$key" /f >/dev/null 2>&1 || true

"$wine" "$setup" /S || fail "the silent install exited with status $?"
files=(animark.exe animark-cli.exe README.md Uninstall.exe coastlines.dat coastlines-notice.txt
  coastlines-LGPL-3.txt coastlines-GPL-3.txt)
for f in data/sample/*; do files+=("sample/${f##*/}"); done
for f in "${files[@]}"; do
  [ -f "$dir/$f" ] || fail "not installed: $f"
done
cmp -s "$dir/animark-cli.exe" "$cli" || fail "the installed animark-cli.exe differs from the build's"
[ -f "$link" ] || fail "no Start-menu entry at $link"

out=$("$wine" "$dir/animark-cli.exe" --version | tr -d '\r') ||
  fail "the installed animark-cli.exe --version exited with status $?"
[[ $out == *"$version"* ]] || fail "the installed animark-cli.exe --version printed \"$out\""
# The installed programs make maps from the coastline file beside them, wherever they are.
maps="$WINEPREFIX/drive_c/users/Public/made-maps"
rm -rf "$maps" && mkdir -p "$maps"
"$wine" "$dir/animark-cli.exe" map --quiet --at 55.68,12.57 -o 'C:\users\Public\made-maps' ||
  fail "the installed animark-cli.exe map exited with status $?"
for range in 100 200 300; do
  [ "$(stat -c %s "$maps/map$range.bmp")" = 153718 ] || fail "no map$range.bmp made"
done
rm -rf "$maps"

query=$("$wine" reg query "$key" | tr -d '\r') || fail "no uninstall key $key"
expect=(
  'DisplayName REG_SZ Animark'
  "DisplayVersion REG_SZ $version"
  'Publisher REG_SZ Animark'
  'DisplayIcon REG_SZ C:\Program Files\Animark\animark.exe,0'
  'UninstallString REG_SZ "C:\Program Files\Animark\Uninstall.exe"'
  'QuietUninstallString REG_SZ "C:\Program Files\Animark\Uninstall.exe" /S'
  'InstallLocation REG_SZ C:\Program Files\Animark'
  'NoModify REG_DWORD 0x1'
  'NoRepair REG_DWORD 0x1'
)
squeezed=$(sed 's/^ *//; s/    */ /g' <<<"$query")
for line in "${expect[@]}"; do
  grep -qxF -- "$line" <<<"$squeezed" || fail "uninstall key lacks \"$line\"; it holds:
$query"
done
size=$(sed -n 's/^EstimatedSize REG_DWORD 0x\([0-9a-f]*\)$/\1/p' <<<"$squeezed")
[ -n "$size" ] && [ $((16#$size)) -gt 0 ] || fail "uninstall key has no EstimatedSize above 0"

"$wine" reg add "$settings" /v XN /t REG_SZ /d test /f >/dev/null || fail "reg add $settings"
# Started plainly, the uninstaller copies itself to a temporary folder, starts the copy and returns
# at once. With _?=folder it runs in place, and is waited for, but cannot remove itself. _?= must
# stand unquoted at the end of the command line, which wine would quote for its space: cmd passes
# the words as they are.
read -ra instdir_words <<<'_?=C:\Program Files\Animark'
"$wine" cmd /c 'C:\Program Files\Animark\Uninstall.exe' /S "${instdir_words[@]}" ||
  fail "the silent uninstall exited with status $?"
if [ -d "$dir" ]; then
  left=$(cd "$dir" && find . -mindepth 1 ! -name Uninstall.exe | tr '\n' ' ')
  [ -z "$left" ] || fail "left behind after uninstalling: $left"
  rm -f "$dir/Uninstall.exe"
  rmdir "$dir"
fi
[ ! -e "$link" ] || fail "the Start-menu entry is still there after uninstalling"
if "$wine" reg query "$key" >/dev/null 2>&1; then fail "the uninstall key is still there"; fi
"$wine" reg query "$settings" /v XN 2>/dev/null | tr -d '\r' | grep -q 'XN.*REG_SZ.*test' ||
  fail "uninstalling removed the settings in $settings"
"$wine" reg delete "$settings" /v XN /f >/dev/null 2>&1 || true

echo "installer_test: installed, ran and uninstalled ${setup##*/} under wine"
