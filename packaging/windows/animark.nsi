; The Windows installer: both programs, the README and the sample data into Program Files, a
; Start-menu entry for the dialog, and an uninstaller listed under "Apps & features". Uninstalling
; removes what was installed and leaves the user's settings key alone.
;   makensis /DVERSION=1.0.0 /DSTAGING=folder /DOUTFILE=setup.exe /DSIZE_KIB=3000 animark.nsi
; scripts/package-windows.sh runs it with the folder it has filled.

!ifndef VERSION
  !error "VERSION must be defined"
!endif
!ifndef STAGING
  !error "STAGING must be defined"
!endif
!ifndef OUTFILE
  !error "OUTFILE must be defined"
!endif
!ifndef SIZE_KIB
  !error "SIZE_KIB must be defined"
!endif

Unicode true
; A 64-bit installer for 64-bit programs: it sees the 64-bit Program Files and registry views.
Target amd64-unicode
SetCompressor /SOLID lzma

!include MUI2.nsh
!include x64.nsh

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Animark"

Name "Animark"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Animark"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
RequestExecutionLevel admin
BrandingText "Animark ${VERSION}"
VIProductVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "Animark"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "FileDescription" "Animark setup"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" "Animark"

!define MUI_ICON "${STAGING}\animark.ico"
!define MUI_UNICON "${STAGING}\animark.ico"
!define MUI_FINISHPAGE_RUN "$INSTDIR\animark.exe"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

Section "Animark"
  SetRegView 64
  SetShellVarContext all
  SetOutPath "$INSTDIR"
  File "${STAGING}\animark.exe"
  File "${STAGING}\animark-cli.exe"
  File "${STAGING}\README.md"
  SetOutPath "$INSTDIR\sample"
  File "${STAGING}\sample\*.*"
  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\Uninstall.exe"
  CreateShortcut "$SMPROGRAMS\Animark.lnk" "$INSTDIR\animark.exe"

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Animark"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Animark"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\animark.exe,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ; In KiB, as "Apps & features" shows it.
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" ${SIZE_KIB}
SectionEnd

; Only what the installer put there: the user's settings (HKCU\SOFTWARE\Animark_kxdata) and GIFs
; the user wrote into the folder stay.
Section "Uninstall"
  SetRegView 64
  SetShellVarContext all
  Delete "$SMPROGRAMS\Animark.lnk"
  Delete "$INSTDIR\animark.exe"
  Delete "$INSTDIR\animark-cli.exe"
  Delete "$INSTDIR\README.md"
  Delete "$INSTDIR\sample\*.bmp"
  Delete "$INSTDIR\sample\*.dat"
  Delete "$INSTDIR\sample\README.md"
  RMDir "$INSTDIR\sample"
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
