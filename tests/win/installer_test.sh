#!/usr/bin/env bash
# The installer as an administrator runs it: silent install into a fresh wine prefix, the
# installed command line runs, the uninstall entry is there; the silent uninstall removes the
# files, the Start-menu entry and the uninstall entry, and leaves the user's settings key. Run by
# scripts/test-windows.sh after scripts/package-windows.sh has made the installer.
set -euo pipefail
cd "$(dirname "$0")/../.."

build=${ANIMARK_WINDOWS_BUILD_DIR:-build-windows}
wine=/usr/lib/wine/wine64
version=$(sed -n 's/^project(Animark VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
setup="$PWD/dist/animark-$version-setup.exe"
work="$PWD/$build/installer-test"
rm -rf "$work"
mkdir -p "$work/wine"
export WINEPREFIX="$work/wine" WINEDEBUG=-all
wineserver -p
trap 'wineserver -k' EXIT
"$wine" wineboot --init >/dev/null 2>&1

fail() {
  echo "installer_test: $*" >&2
  exit 1
}
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Animark'
settings_key='HKCU\SOFTWARE\Animark_kxdata'
folder="$WINEPREFIX/drive_c/Program Files/Animark"
shortcut="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Animark.lnk"

[ -f "$setup" ] || fail "no installer at $setup"
"$wine" "$setup" /S
for file in animark.exe animark-cli.exe README.md Uninstall.exe sample/map200.bmp \
  sample/071426.dat; do
  [ -f "$folder/$file" ] || fail "not installed: $file"
done
[ -f "$shortcut" ] || fail "no Start-menu entry"
printed=$("$wine" "$folder/animark-cli.exe" --version | tr -d '\r')
[[ "$printed" == *"$version"* ]] || fail "the installed animark-cli.exe --version printed: $printed"
entry=$("$wine" reg query "$uninstall_key" /reg:64 | tr -d '\r')
for value in "DisplayName +REG_SZ +Animark" "DisplayVersion +REG_SZ +$version" \
  "UninstallString +REG_SZ" "QuietUninstallString +REG_SZ" "InstallLocation +REG_SZ"; do
  grep -Eq "^ +$value" <<<"$entry" || fail "uninstall entry lacks $value"
done

# The user's settings, as the dialog would have left them.
"$wine" reg add "$settings_key" /v XN /t REG_SZ /d 'C:\web\lightning.gif' /f >/dev/null
# An uninstaller copies itself away and returns at once: its copy is done when the folder and,
# last, the uninstall entry are gone.
"$wine" "$folder/Uninstall.exe" /S
for _ in $(seq 100); do
  [ ! -e "$folder" ] && ! "$wine" reg query "$uninstall_key" /reg:64 >/dev/null 2>&1 && break
  sleep 0.2
done
[ ! -e "$folder" ] || fail "left after uninstalling: $(ls -R "$folder")"
[ ! -e "$shortcut" ] || fail "the Start-menu entry is left after uninstalling"
! "$wine" reg query "$uninstall_key" /reg:64 >/dev/null 2>&1 ||
  fail "the uninstall entry is left after uninstalling"
"$wine" reg query "$settings_key" /v XN 2>/dev/null | grep -q 'C:\\web\\lightning.gif' ||
  fail "uninstalling removed the user's settings"
echo "installer_test: passed"
