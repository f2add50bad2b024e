; Installer for the two Windows programs, the coastline file they make maps from with its notice
; and licences, the README and the sample data. makensis is given
;   /DVERSION=x.y.z  /DSOURCE_DIR=<repository>  /DSTAGING_DIR=<the zip's folder>  /DOUT_FILE=<setup.exe>
; (scripts/package-windows.sh passes them). Silent with /S; /D=path sets the folder.

!ifndef VERSION | SOURCE_DIR | STAGING_DIR | OUT_FILE
  !error "VERSION, SOURCE_DIR, STAGING_DIR and OUT_FILE must be defined with /D"
!endif

Unicode true
; The programs are 64-bit only, and so is the installer: it then runs where they run.
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Animark"

Name "Animark ${VERSION}"
OutFile "${OUT_FILE}"
InstallDir "$PROGRAMFILES64\Animark"
; A newer version goes where the last one was installed.
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "Animark ${VERSION}"

!include "MUI2.nsh"
!include "FileFunc.nsh"

!define MUI_ICON "${SOURCE_DIR}/src/win/animark.ico"
!define MUI_UNICON "${SOURCE_DIR}/src/win/animark.ico"

!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductName" "Animark"
VIAddVersionKey /LANG=${LANG_ENGLISH} "CompanyName" "Animark"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileDescription" "Animark ${VERSION} setup"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "LegalCopyright" "Animark"

Function .onInit
  SetRegView 64
FunctionEnd

Function un.onInit
  SetRegView 64
FunctionEnd

Section "Animark"
  SetOutPath "$INSTDIR"
  File "${STAGING_DIR}/animark.exe"
  File "${STAGING_DIR}/animark-cli.exe"
  File "${STAGING_DIR}/README.md"
  File "${STAGING_DIR}/coastlines.dat"
  File "${STAGING_DIR}/coastlines-notice.txt"
  File "${STAGING_DIR}/coastlines-LGPL-3.txt"
  File "${STAGING_DIR}/coastlines-GPL-3.txt"
  SetOutPath "$INSTDIR\sample"
  File "${SOURCE_DIR}/data/sample/*.*"
  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\Uninstall.exe"

  ; For every user of the machine, as the files are.
  SetShellVarContext all
  CreateShortCut "$SMPROGRAMS\Animark.lnk" "$INSTDIR\animark.exe"

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Animark"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Animark"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\animark.exe,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" "$0"
SectionEnd

; Only what was installed goes: the folder is removed only when nothing else is left in it (the
; user may have chosen a folder holding their own files). The user's settings under
; HKCU\SOFTWARE\Animark_kxdata stay for a later installation.
Section "Uninstall"
  Delete "$INSTDIR\animark.exe"
  Delete "$INSTDIR\animark-cli.exe"
  Delete "$INSTDIR\README.md"
  Delete "$INSTDIR\coastlines.dat"
  Delete "$INSTDIR\coastlines-notice.txt"
  Delete "$INSTDIR\coastlines-LGPL-3.txt"
  Delete "$INSTDIR\coastlines-GPL-3.txt"
  ; The sample set by name; the installer test finds the folder left behind when a file is added
  ; to data/sample and not here.
  Delete "$INSTDIR\sample\071426.dat"
  Delete "$INSTDIR\sample\071526.dat"
  Delete "$INSTDIR\sample\map100.bmp"
  Delete "$INSTDIR\sample\map200.bmp"
  Delete "$INSTDIR\sample\map300.bmp"
  Delete "$INSTDIR\sample\README.md"
  RMDir "$INSTDIR\sample"
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"

  SetShellVarContext all
  Delete "$SMPROGRAMS\Animark.lnk"

  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
