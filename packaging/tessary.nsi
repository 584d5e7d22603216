; The Windows installer of Tessary. packaging/make-installer.sh runs
; makensis on this file (UTF-8) and defines VERSION, SCR32, SCR64 (the two
; builds of tessary.scr), TUNE (the default tune), HOME_PAGE, OUTFILE and,
; when the release is signed, SIGN (the command that signs a program).
;
; On x64 Windows the 64-bit build goes into the 64-bit system folder (file-
; system redirection off for that copy); ARM64 Windows, which runs x86 but
; not x64 programs, gets the 32-bit build there. On every 64-bit Windows the
; uninstall entry goes into the 64-bit registry view; on 32-bit Windows the
; 32-bit build goes into the system folder. The default tune lies beside the
; saver, which looks for it in its own folder. /S installs and uninstalls
; without asking; /D=folder picks the uninstaller's folder.
;
; A saver in use (running, or its settings open) cannot be replaced: the
; install asks to close it (Retry/Cancel) and, silent, fails with exit code 2
; before anything changed. An uninstall that finds it in use removes it at
; the next restart; the entry and the uninstaller stay until then, and the
; uninstaller runs once more at the next logon to remove them. Until that
; restart the installer refuses, as the restart would undo it.

Unicode true
ManifestDPIAware true
RequestExecutionLevel admin
SetCompressor /SOLID lzma

!include MUI2.nsh
!include LogicLib.nsh
!include x64.nsh

!define PUBLISHER "Tessary Project"
!define RUNONCE_KEY "Software\Microsoft\Windows\CurrentVersion\RunOnce"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Tessary"
!define TUNE_NAME "ｼﾞｬｽﾞﾛﾏﾝﾃｨｯｸ.mid"

Name "Tessary ${VERSION}"
OutFile "${OUTFILE}"
; The uninstaller's folder (.onInit, unless /D names one); the saver itself
; goes into the system folder.
BrandingText "Tessary ${VERSION}"
; A file that cannot be written offers Retry and Cancel only (Cancel when
; silent): never a half-replaced saver.
AllowSkipFiles off
; The uninstaller is signed before it is packed, as the installer is after.
!ifdef SIGN
  !uninstfinalize '"${SIGN}" "%1"' = 0
  !finalize '"${SIGN}" "%1"' = 0
!endif

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
LangString InUseText ${LANG_ENGLISH} "Tessary is in use. Close its settings and any running screen saver, then choose Retry."
LangString InUseText ${LANG_JAPANESE} "Tessary が使用中です。設定画面と動作中のスクリーンセーバーを閉じてから、[再試行] を選んでください。"
LangString RebootText ${LANG_ENGLISH} "Tessary is in use. It will be removed when Windows restarts."
LangString PendingText ${LANG_ENGLISH} "An earlier Tessary is removed when Windows restarts. Restart Windows, then install again."
LangString PendingText ${LANG_JAPANESE} "以前の Tessary は Windows の再起動時に削除されます。再起動してから、もう一度インストールしてください。"
LangString RebootText ${LANG_JAPANESE} "Tessary は使用中のため、Windows の再起動時に削除されます。"

VIProductVersion "${VERSION}.0.0"
VIFileVersion "${VERSION}.0.0"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductName" "Tessary"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileDescription" "Tessary ${VERSION} setup"
VIAddVersionKey /LANG=${LANG_ENGLISH} "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "LegalCopyright" "Copyright (C) ${PUBLISHER}"

; File operations on $SYSDIR reach the native system folder between these
; two on 64-bit Windows (x64 and ARM64); elsewhere they do nothing.
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

; $INSTDIR is empty here unless /D gave it.
Function .onInit
  ${If} ${RunningX64}
    SetRegView 64
    ${IfThen} $INSTDIR == "" ${|} StrCpy $INSTDIR "$PROGRAMFILES64\Tessary" ${|}
  ${EndIf}
  ${IfThen} $INSTDIR == "" ${|} StrCpy $INSTDIR "$PROGRAMFILES\Tessary" ${|}
FunctionEnd

; The processor Windows runs on natively, into $0: 34404 (x64), 43620
; (ARM64) or 332 (x86). NATIVE_MACHINE, defined by the installer's test
; only, stands in for it, as Wine runs on x64 alone.
Function NativeMachine
  !ifdef NATIVE_MACHINE
    StrCpy $0 ${NATIVE_MACHINE}
  !else
    ${GetNativeMachineArchitecture} $0
  !endif
FunctionEnd

; Sets the error flag when file $0 exists and cannot be opened for writing,
; as Windows refuses for a program that runs (a saver, or its settings).
Function CheckWritable
  ClearErrors
  ${If} ${FileExists} $0
    FileOpen $1 $0 a
    ${IfNot} ${Errors}
      FileClose $1
    ${EndIf}
  ${EndIf}
FunctionEnd

; Adds the size of file $0 in bytes to $2.
Function AddFileSize
  ClearErrors
  FileOpen $1 $0 r
  ${IfNot} ${Errors}
    FileSeek $1 0 END $3
    FileClose $1
    IntOp $2 $2 + $3
  ${EndIf}
FunctionEnd

Section "Tessary"
  ; An uninstall that waits for the restart would undo this install then.
  ReadRegStr $0 HKLM "${RUNONCE_KEY}" "Tessary"
  ${If} $0 != ""
    MessageBox MB_OK|MB_ICONEXCLAMATION "$(PendingText)" /SD IDOK
    Abort
  ${EndIf}
  !insertmacro NativeSystemFolder
  ; Nothing changes until both files can be replaced.
  retry:
  StrCpy $0 "$SYSDIR\tessary.scr"
  Call CheckWritable
  ${IfNot} ${Errors}
    StrCpy $0 "$SYSDIR\${TUNE_NAME}"
    Call CheckWritable
  ${EndIf}
  ${If} ${Errors}
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "$(InUseText)" /SD IDCANCEL IDRETRY retry
    !insertmacro RedirectedSystemFolder
    Abort
  ${EndIf}

  SetOutPath "$SYSDIR"
  Call NativeMachine
  ${If} $0 = 34404
    File "/oname=tessary.scr" "${SCR64}"
  ${Else}
    ; 32-bit and ARM64 Windows: ARM64 runs x86 programs, not x64 ones.
    File "/oname=tessary.scr" "${SCR32}"
  ${EndIf}
  File "/oname=${TUNE_NAME}" "${TUNE}"
  !insertmacro RedirectedSystemFolder

  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  ; The finish page's offer, as a shortcut that the user's own shell opens.
  !insertmacro NativeSystemFolder
  CreateShortcut "$INSTDIR\settings.lnk" "$SYSDIR\rundll32.exe" \
    "desk.cpl,InstallScreenSaver $SYSDIR\tessary.scr"
  StrCpy $2 0
  StrCpy $0 "$SYSDIR\tessary.scr"
  Call AddFileSize
  StrCpy $0 "$SYSDIR\${TUNE_NAME}"
  Call AddFileSize
  !insertmacro RedirectedSystemFolder
  StrCpy $0 "$INSTDIR\uninstall.exe"
  Call AddFileSize
  IntOp $2 $2 + 1023
  IntOp $2 $2 / 1024
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Tessary"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "URLInfoAbout" "${HOME_PAGE}"
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $2
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$SYSDIR\tessary.scr,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; The finish page's offer: Windows' own "Install" of a screen saver, which
; selects it and opens the screen-saver settings, for the user who started
; the installer rather than the account it was elevated to. The installer
; runs elevated, and so would every program it starts; a new explorer.exe
; instead hands the shortcut to the running shell, which opens it at the
; user's own level and in the user's registry. The shortcut (made by the
; section) starts the native rundll32 with the saver of the native system
; folder, so that a 64-bit Windows sees the saver installed.
Function OpenScreenSaverSettings
  Exec '"$WINDIR\explorer.exe" "$INSTDIR\settings.lnk"'
FunctionEnd

Function un.onInit
  ${If} ${RunningX64}
    SetRegView 64
  ${EndIf}
FunctionEnd

; Removes what the installer put down, the uninstall entry last. The
; user's settings (HKCU\Software\Quorvane\Skylumen\Tessery) stay; the
; user's choice of screen saver goes when it names this one, so that Windows
; is not left pointing at a deleted file.
Section "Uninstall"
  !insertmacro NativeSystemFolder
  Delete /REBOOTOK "$SYSDIR\tessary.scr"
  Delete /REBOOTOK "$SYSDIR\${TUNE_NAME}"
  !insertmacro RedirectedSystemFolder
  ReadRegStr $0 HKCU "Control Panel\Desktop" "SCRNSAVE.EXE"
  ${If} $0 == "$SYSDIR\tessary.scr"
  ${OrIf} $0 == "tessary.scr"
    DeleteRegValue HKCU "Control Panel\Desktop" "SCRNSAVE.EXE"
  ${EndIf}
  ${If} ${RebootFlag}
    ; In use: the file goes at the next restart; until then the entry and
    ; the uninstaller stay, which then run once more to remove them.
    WriteRegStr HKLM "${RUNONCE_KEY}" "Tessary" '"$INSTDIR\uninstall.exe" /S'
    MessageBox MB_OK|MB_ICONINFORMATION "$(RebootText)" /SD IDOK
    ; "Done, a restart completes it", as Windows Installer reports it.
    SetErrorLevel 3010
  ${Else}
    Delete "$INSTDIR\settings.lnk"
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
    DeleteRegValue HKLM "${RUNONCE_KEY}" "Tessary"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
  ${EndIf}
SectionEnd
