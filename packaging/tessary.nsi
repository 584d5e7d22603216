; The Windows installer of Tessary. packaging/make-installer.sh runs
; makensis on this file (UTF-8) and defines VERSION, SCR32, SCR64 (the two
; builds of tessary.scr), TUNE (the default tune) and OUTFILE.
;
; On 64-bit Windows the 64-bit build goes into the 64-bit system folder
; (file-system redirection off for that copy) and the uninstall entry into
; the 64-bit registry view; on 32-bit Windows the 32-bit build goes into the
; system folder. The default tune lies beside the saver, which looks for it
; in its own folder. /S installs and uninstalls without asking.

Unicode true
ManifestDPIAware true
RequestExecutionLevel admin
SetCompressor /SOLID lzma

!include MUI2.nsh
!include LogicLib.nsh
!include x64.nsh

!define PUBLISHER "Tessary Project"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Tessary"
!define TUNE_NAME "ｼﾞｬｽﾞﾛﾏﾝﾃｨｯｸ.mid"

Name "Tessary ${VERSION}"
OutFile "${OUTFILE}"
; The uninstaller's folder; the saver itself goes into the system folder.
InstallDir "$PROGRAMFILES\Tessary"
BrandingText "Tessary ${VERSION}"

!define MUI_ICON "${__FILEDIR__}/../src/resources/tessary.ico"
!define MUI_UNICON "${__FILEDIR__}/../src/resources/tessary.ico"
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "$(OpenSettingsText)"
!define MUI_FINISHPAGE_RUN_FUNCTION OpenScreenSaverSettings
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

; English where Windows speaks neither language.
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "Japanese"
; The settings open with Tessary already selected.
LangString OpenSettingsText ${LANG_ENGLISH} "Open the screen saver settings"
LangString OpenSettingsText ${LANG_JAPANESE} "スクリーンセーバーの設定を開く"

VIProductVersion "${VERSION}.0.0"
VIFileVersion "${VERSION}.0.0"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductName" "Tessary"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileDescription" "Tessary ${VERSION} setup"
VIAddVersionKey /LANG=${LANG_ENGLISH} "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "LegalCopyright" "Copyright (C) ${PUBLISHER}"

; File operations on $SYSDIR reach the 64-bit system folder between these
; two on 64-bit Windows; elsewhere they do nothing.
!macro NativeSystemFolder
  ${If} ${RunningX64}
    ${DisableX64FSRedirection}
  ${EndIf}
!macroend
!macro RedirectedSystemFolder
  ${If} ${RunningX64}
    ${EnableX64FSRedirection}
  ${EndIf}
!macroend

Function .onInit
  ${If} ${RunningX64}
    SetRegView 64
    StrCpy $INSTDIR "$PROGRAMFILES64\Tessary"
  ${EndIf}
FunctionEnd

Section "Tessary"
  SetOutPath "$SYSDIR"
  !insertmacro NativeSystemFolder
  ${If} ${RunningX64}
    File "/oname=tessary.scr" "${SCR64}"
  ${Else}
    File "/oname=tessary.scr" "${SCR32}"
  ${EndIf}
  File "/oname=${TUNE_NAME}" "${TUNE}"
  !insertmacro RedirectedSystemFolder

  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Tessary"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$SYSDIR\tessary.scr,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; The finish page's offer: Windows' own "Install" of a screen saver, which
; selects it and opens the screen-saver settings. The 64-bit rundll32 is
; started on 64-bit Windows, so that it sees the 64-bit system folder.
Function OpenScreenSaverSettings
  !insertmacro NativeSystemFolder
  Exec '"$SYSDIR\rundll32.exe" desk.cpl,InstallScreenSaver $SYSDIR\tessary.scr'
  !insertmacro RedirectedSystemFolder
FunctionEnd

Function un.onInit
  ${If} ${RunningX64}
    SetRegView 64
  ${EndIf}
FunctionEnd

; Removes what the installer put down, the uninstall entry last. The
; user's settings (HKCU\Software\Quorvane\Skylumen\Tessery) stay.
Section "Uninstall"
  !insertmacro NativeSystemFolder
  Delete "$SYSDIR\tessary.scr"
  Delete "$SYSDIR\${TUNE_NAME}"
  !insertmacro RedirectedSystemFolder
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
