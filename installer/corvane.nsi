; Installer of the Corvane! bar, one per architecture.
; makensis -DARCH=x64|x86 -DPRODUCT=<name> -DSRCDIR=<folder with the four binaries> -DOUTFILE=<setup.exe>
;   installer/corvane.nsi
;
; Command-line options (also in silent mode, /S):
;   /LOGON=1           start the bar at every logon (a Run value under HKCU)
;   /START=1           start the bar when the installation ends
; Uninstaller:
;   /REMOVESETTINGS=1  also remove the user's settings (interactively it asks)

Unicode true
!if "${ARCH}" == "x64"
  Target amd64-unicode
!endif

!include "MUI2.nsh"
!include "FileFunc.nsh"
!include "LogicLib.nsh"
!if "${ARCH}" == "x64"
  !include "x64.nsh"
!endif

; The program's name comes from the build (core/program_name.h).
!ifndef PRODUCT
  !error "makensis -DPRODUCT=<the program's name> is required"
!endif
!define VERSION "1.21.2"
!define BAR_TITLE "Corvane! main window"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Corvane!"
!define SETTINGS_KEY "Software\Corvane!"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
!if "${ARCH}" == "x64"
  InstallDir "$PROGRAMFILES64\${PRODUCT}"
!else
  InstallDir "$PROGRAMFILES\${PRODUCT}"
!endif
RequestExecutionLevel admin
SetCompressor /SOLID lzma
VIProductVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "FileDescription" "${PRODUCT} setup"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" "Copyright (C) 2026 The Corvane! developers"

Var StartAtLogon
Var StartWhenDone
Var RemoveSettings

!define MUI_FINISHPAGE_RUN "$INSTDIR\corvane.exe"
!define MUI_FINISHPAGE_RUN_TEXT "$(SetupStartNow)"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!include "${__FILEDIR__}\languages.nsh"

; Ends a running bar the way its own Exit does, and waits for it to go.
!macro EndRunningBar
  FindWindow $0 "" "${BAR_TITLE}"
  ${If} $0 <> 0
    SendMessage $0 ${WM_CLOSE} 0 0 /TIMEOUT=5000
    StrCpy $1 0
    ${Do}
      Sleep 100
      FindWindow $0 "" "${BAR_TITLE}"
      IntOp $1 $1 + 1
      ${IfThen} $1 >= 100 ${|} ${ExitDo} ${|}
    ${LoopWhile} $0 <> 0
  ${EndIf}
!macroend

; The bar's hook libraries stay in use a little after its window is gone, until its process has let go of
; them: try for up to fifteen seconds before giving up on a file.
!macro DeleteWhenFree file
  StrCpy $2 0
  ${Do}
    ClearErrors
    Delete "${file}"
    ${IfNot} ${Errors}
      ${ExitDo}
    ${EndIf}
    IntOp $2 $2 + 1
    ${IfThen} $2 >= 150 ${|} ${ExitDo} ${|}
    Sleep 100
  ${Loop}
!macroend

Function .onInit
!if "${ARCH}" == "x64"
  SetRegView 64
!endif
  ${GetParameters} $R0
  StrCpy $StartAtLogon 0
  StrCpy $StartWhenDone 0
  ClearErrors
  ${GetOptions} $R0 "/LOGON=" $R1
  ${IfNot} ${Errors}
    StrCpy $StartAtLogon $R1
  ${EndIf}
  ClearErrors
  ${GetOptions} $R0 "/START=" $R1
  ${IfNot} ${Errors}
    StrCpy $StartWhenDone $R1
  ${EndIf}
  ; The logon section starts unselected unless asked for on the command line.
  ${If} $StartAtLogon == 1
    SectionSetFlags 1 ${SF_SELECTED}
  ${EndIf}
FunctionEnd

Section "$(SetupRequired)" SecMain
  SectionIn RO
  !insertmacro EndRunningBar
  SetOutPath "$INSTDIR"
  File "${SRCDIR}\corvane.exe"
  File "${SRCDIR}\cvsh.dll"
  File "${SRCDIR}\cvth.dll"
  File "${SRCDIR}\cvil.dll"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateDirectory "$SMPROGRAMS\${PRODUCT}"
  CreateShortcut "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk" "$INSTDIR\corvane.exe"
  CreateShortcut "$SMPROGRAMS\${PRODUCT}\Uninstall ${PRODUCT}.lnk" "$INSTDIR\uninstall.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "The Corvane! developers"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\corvane.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section /o "$(SetupAtLogon)" SecLogon
  WriteRegStr HKCU "${RUN_KEY}" "${PRODUCT}" '"$INSTDIR\corvane.exe"'
SectionEnd

Function .onInstSuccess
  ${If} $StartWhenDone == 1
    Exec '"$INSTDIR\corvane.exe"'
  ${EndIf}
FunctionEnd

Function un.onInit
!if "${ARCH}" == "x64"
  SetRegView 64
!endif
  ${GetParameters} $R0
  StrCpy $RemoveSettings ""
  ClearErrors
  ${GetOptions} $R0 "/REMOVESETTINGS=" $R1
  ${IfNot} ${Errors}
    ; The copy that does the work gets "_?=<folder>" appended after the user's options.
    StrCpy $RemoveSettings $R1 1
  ${EndIf}
FunctionEnd

Section "Uninstall"
  !insertmacro EndRunningBar
  ; While the bar ran, its shell hook brought cvsh.dll into every process with windows, this one too, and
  ; the platform may keep it there after the hook has gone with the bar: let go of it, or it cannot be deleted.
  System::Call 'kernel32::GetModuleHandleW(w "cvsh.dll") p .r4'
  ${If} $4 != 0
    System::Call 'kernel32::FreeLibrary(p r4) i'
  ${EndIf}
  !insertmacro DeleteWhenFree "$INSTDIR\corvane.exe"
  !insertmacro DeleteWhenFree "$INSTDIR\cvsh.dll"
  !insertmacro DeleteWhenFree "$INSTDIR\cvth.dll"
  !insertmacro DeleteWhenFree "$INSTDIR\cvil.dll"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk"
  Delete "$SMPROGRAMS\${PRODUCT}\Uninstall ${PRODUCT}.lnk"
  RMDir "$SMPROGRAMS\${PRODUCT}"
  DeleteRegValue HKCU "${RUN_KEY}" "${PRODUCT}"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  ${If} $RemoveSettings == ""
    MessageBox MB_YESNO|MB_ICONQUESTION "$(SetupRemoveSettings)" /SD IDNO IDNO keep
    StrCpy $RemoveSettings 1
  ${EndIf}
  ${If} $RemoveSettings == 1
    DeleteRegKey HKCU "${SETTINGS_KEY}"
  ${EndIf}
  keep:
SectionEnd
