; The setup program of Orve's MP: installs the player for all users into
; Program Files, registers the filters with regsvr32, lets the player's own
; Install word take the file types (keeping the previous programs as backups),
; adds a Start-menu shortcut and an entry under Apps, and writes the
; uninstaller, which undoes exactly that.
;
; Built by installer/make-dist.sh, which defines:
;   VERSION       the version text ("2.33"), VERSION4 the same in four parts
;   STAGE         the folder holding the files to install
;   FILES_NSH     SetOutPath/File lines for the staged files
;   UNFILES_NSH   the matching Delete/RMDir lines, deepest folders first
;   OUTFILE       the setup program to write
;   HAVE_CODECS   defined when OrvesCodecs.ax is among the staged files

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin
ManifestDPIAware true

!include MUI2.nsh
!include FileFunc.nsh
!include LogicLib.nsh

!define PRODUCT "Orve's MP"
!define PUBLISHER "Orve"
; The name the player's Install word keeps: it drops only other versions'
; uninstall entries.
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Orve's MP_is1"
!define SHORTCUT "$SMPROGRAMS\${PRODUCT}.lnk"
!define SETTINGS_FOLDER "OrvesMP"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\OrvesMP"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${PRODUCT} ${VERSION}"

VIProductVersion "${VERSION4}"
VIFileVersion "${VERSION4}"
VIAddVersionKey /LANG=0 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=0 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=0 "FileDescription" "${PRODUCT} Setup"
VIAddVersionKey /LANG=0 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "LegalCopyright" "${PUBLISHER}"

!define MUI_ICON "${STAGE}\OrvesMP.ico"
!define MUI_UNICON "${STAGE}\OrvesMP.ico"
!define MUI_ABORTWARNING

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_FUNCTION StartPlayer
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

; The pages speak the system's language: Korean on a Korean system, else
; English (the first language is the fallback).
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "Korean"

LangString KeepSettings ${LANG_ENGLISH} "Keep your ${PRODUCT} settings, bookmarks and playlist?"
LangString KeepSettings ${LANG_KOREAN} "${PRODUCT}의 설정과 책갈피, 재생 목록을 남겨 두시겠습니까?"

Var KeepSettings

!macro RegisterFilter FILE
  ExecWait '"$SYSDIR\regsvr32.exe" /s "$INSTDIR\${FILE}"'
!macroend
!macro UnregisterFilter FILE
  ExecWait '"$SYSDIR\regsvr32.exe" /u /s "$INSTDIR\${FILE}"'
!macroend

Function .onInit
  SetShellVarContext all
  SetRegView 64
FunctionEnd

; The player starts as the signed-in user, not with the setup's raised
; rights: a player running as administrator would write its settings where
; the user's own runs cannot.
Function StartPlayer
  Exec '"$WINDIR\explorer.exe" "$INSTDIR\OrvesMP.exe"'
FunctionEnd

Section "Install"
  SetShellVarContext all
  !include "${FILES_NSH}"
  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\Uninstall.exe"

  !insertmacro RegisterFilter "ZmSoundProcessor.ax"
  !ifdef HAVE_CODECS
    !insertmacro RegisterFilter "OrvesCodecs.ax"
  !endif
  ; Drops older versions' file types and takes .avi and .list, keeping each
  ; extension's previous program in its backup value.
  ExecWait '"$INSTDIR\OrvesMP.exe" Install'

  CreateShortCut "${SHORTCUT}" "$INSTDIR\OrvesMP.exe" "" "$INSTDIR\OrvesMP.exe" 0

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\OrvesMP.exe,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Function un.onInit
  SetShellVarContext all
  SetRegView 64
FunctionEnd

Section "Uninstall"
  ; Kept unless the user says otherwise; a silent uninstall keeps them.
  StrCpy $KeepSettings 1
  MessageBox MB_YESNO|MB_ICONQUESTION "$(KeepSettings)" /SD IDYES IDYES +2
    StrCpy $KeepSettings 0

  ; Gives every extension the player still owns its previous program back.
  ExecWait '"$INSTDIR\OrvesMP.exe" UnInstall'
  !insertmacro UnregisterFilter "ZmSoundProcessor.ax"
  !ifdef HAVE_CODECS
    !insertmacro UnregisterFilter "OrvesCodecs.ax"
  !endif

  !include "${UNFILES_NSH}"
  ; What the player's runs from this folder wrote beside it (the install
  ; words run with the setup's rights, so the folder was writable for them).
  Delete "$INSTDIR\OrvesMP20.ini"
  Delete "$INSTDIR\Bookmark.ini"
  Delete "$INSTDIR\OrvesMP.list"
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"

  Delete "${SHORTCUT}"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"

  ${If} $KeepSettings == 0
    SetShellVarContext current
    Delete "$APPDATA\${SETTINGS_FOLDER}\OrvesMP20.ini"
    Delete "$APPDATA\${SETTINGS_FOLDER}\Bookmark.ini"
    Delete "$APPDATA\${SETTINGS_FOLDER}\OrvesMP.list"
    RMDir "$APPDATA\${SETTINGS_FOLDER}"
  ${EndIf}
SectionEnd
