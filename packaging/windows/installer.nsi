; The installer of Vypisnik for 64-bit Windows: the program into Program Files, a Start-menu
; entry with the program's icon, and an uninstaller listed among the installed apps. The
; installed program keeps its lists in %APPDATA%\Vypisnik, which the uninstaller leaves alone.
; makensis -DVERSION=<version> -DFILE_VERSION=<a.b.c.d> -DICON=<.ico> -DFILES=<files.nsh>
;          -DSIZE_KB=<size> -DOUTFILE=<installer> installer.nsi (MakePackage.cmake runs it)
Unicode true
SetCompressor /SOLID lzma
!include "MUI2.nsh"
!include "x64.nsh"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Vypisnik"

Name "Vypisnik ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Vypisnik"
InstallDirRegKey HKLM "Software\Vypisnik" "InstallDir"
RequestExecutionLevel admin
BrandingText "Vypisnik ${VERSION}"
VIProductVersion "${FILE_VERSION}"
VIAddVersionKey /LANG=1029 "ProductName" "Vypisnik"
VIAddVersionKey /LANG=1029 "FileDescription" "Instalace programu Vypisnik"
VIAddVersionKey /LANG=1029 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1029 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1029 "CompanyName" "Vypisnik"
VIAddVersionKey /LANG=1029 "LegalCopyright" "Vypisnik"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_FINISHPAGE_RUN "$INSTDIR\Vypisnik.exe"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Czech"

Function .onInit
  ${IfNot} ${RunningX64}
    MessageBox MB_ICONSTOP "Vypisnik potřebuje 64bitový Windows."
    Abort
  ${EndIf}
  SetRegView 64
FunctionEnd

Function un.onInit
  SetRegView 64
FunctionEnd

Section
  SetShellVarContext all
  !define INSTALL_FILES
  !include "${FILES}"
  !undef INSTALL_FILES
  WriteUninstaller "$INSTDIR\Uninstall.exe"
  CreateShortcut "$SMPROGRAMS\Vypisnik.lnk" "$INSTDIR\Vypisnik.exe" "" "$INSTDIR\Vypisnik.exe" 0
  WriteRegStr HKLM "Software\Vypisnik" "InstallDir" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Vypisnik"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Vypisnik.exe,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Vypisnik"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" ${SIZE_KB}
SectionEnd

; Only the files this installer put there: the folder may hold the user's own files, and the
; user's lists in %APPDATA%\Vypisnik stay.
Section "Uninstall"
  SetShellVarContext all
  !define UNINSTALL_FILES
  !include "${FILES}"
  !undef UNINSTALL_FILES
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\Vypisnik.lnk"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  DeleteRegKey HKLM "Software\Vypisnik"
SectionEnd
