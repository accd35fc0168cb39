; Installer of the Corvane! bar, one per architecture.
; makensis -DARCH=x64|x86 -DPRODUCT=<name> -DSRCDIR=<folder with the four binaries> -DOUTFILE=<setup.exe>
;   installer/corvane.nsi
;
; Command-line options (also in silent mode, /S):
;   /LOGON=1           start the bar at every logon (a Run value under the signed-in user's HKCU)
;   /START=1           start the bar when the installation ends, as the signed-in user
;   /D=<folder>        install there instead of under Program Files
; Uninstaller:
;   /REMOVESETTINGS=1  also remove the user's settings (interactively it asks)

Unicode true
!if "${ARCH}" == "x64"
  Target amd64-unicode
!endif

!include "MUI2.nsh"
!include "FileFunc.nsh"
!include "LogicLib.nsh"
!include "x64.nsh"

; The program's name comes from the build (core/program_name.h).
!ifndef PRODUCT
  !error "makensis -DPRODUCT=<the program's name> is required"
!endif
!define VERSION "1.21.2"
!define BAR_TITLE "Corvane! main window"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Corvane!"
!define SETTINGS_KEY "Software\Corvane!"
; Windows' code for a package made for another processor type: the 32-bit setup's answer on 64-bit Windows.
!define EXIT_WRONG_ARCHITECTURE 1633
; The install folder: owned by the administrators, its inheritance cut off, full control for the system and the
; administrators only; everyone else, the sandboxed programs into which the shell hook's library is mapped
; included, may read and run what is in it.
!define FOLDER_SDDL "O:BAD:PAI(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;0x1200a9;;;BU)(A;OICI;0x1200a9;;;S-1-15-2-1)(A;OICI;0x1200a9;;;S-1-15-2-2)"
; OWNER_SECURITY_INFORMATION, DACL_SECURITY_INFORMATION and PROTECTED_DACL_SECURITY_INFORMATION
!define FOLDER_SECURITY_PARTS 0x80000005

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

!include "shell_user.nsh"

; The setup runs elevated; the bar must not (it would not hear the shell and the other programs, and would
; start browsers as administrator): the finish page starts it as the signed-in user.
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "$(SetupStartNow)"
!define MUI_FINISHPAGE_RUN_FUNCTION StartBar
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!include "languages.nsh"

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
!else
  ; A 32-bit bar's shell hook reaches only 32-bit programs: on 64-bit Windows it would never see a browser.
  ${If} ${RunningX64}
    MessageBox MB_OK|MB_ICONSTOP "$(SetupWrongArchitecture)" /SD IDOK
    SetErrorLevel ${EXIT_WRONG_ARCHITECTURE}
    Quit
  ${EndIf}
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

; The folder holds cvsh.dll, which the shell hook maps into every program of whoever runs the bar, and the
; uninstaller, which runs elevated: only administrators may change it, wherever it is (a folder of its own on C:\
; would otherwise inherit "Authenticated Users: Modify"). Set before the files are written, so that they inherit
; it; what an earlier install left there gets it too.
Function SecureInstallFolder
  System::Call 'advapi32::ConvertStringSecurityDescriptorToSecurityDescriptorW(w "${FOLDER_SDDL}", i 1, \
    *p .r0, p 0) i .r1'
  ${If} $1 = 0
    StrCpy $1 -1
  ${Else}
    System::Call 'advapi32::GetSecurityDescriptorOwner(p r0, *p .r2, *i .r3) i'
    System::Call 'advapi32::GetSecurityDescriptorDacl(p r0, *i .r3, *p .r4, *i .r5) i'
    System::Call 'advapi32::SetNamedSecurityInfoW(w "$INSTDIR", i 1, i ${FOLDER_SECURITY_PARTS}, p r2, p 0, \
      p r4, p 0) i .r1'
    System::Call 'kernel32::LocalFree(p r0)'
  ${EndIf}
  ${If} $1 <> 0
    MessageBox MB_OK|MB_ICONSTOP "$(SetupFolderNotSecured)" /SD IDOK
    Abort
  ${EndIf}
FunctionEnd

Section "$(SetupMainSection)" SecMain
  SectionIn RO
  !insertmacro EndRunningBar
  SetOutPath "$INSTDIR"
  Call SecureInstallFolder
  File "${SRCDIR}\corvane.exe"
  File "${SRCDIR}\cvsh.dll"
  File "${SRCDIR}\cvth.dll"
  File "${SRCDIR}\cvil.dll"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  ; A machine-wide install: the shortcut in every user's Start menu, not in the administrator's alone.
  SetShellVarContext all
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

!insertmacro ShellUserTokenFunction ""
!insertmacro ShellUserTokenFunction "un."

; The logon entry belongs to the user who will see the bar, the one signed in, not to the administrator whose
; token the setup may run with.
Section /o "$(SetupAtLogon)" SecLogon
  Call OpenShellUserHive
  StrCpy $1 1
  ${If} $ShellUserHive P<> 0
    System::Call 'advapi32::RegCreateKeyExW(p $ShellUserHive, w "${RUN_KEY}", i 0, p 0, i 0, i 2, p 0, \
      *p .r2, p 0) i .r1'
    ${If} $1 = 0
      StrCpy $3 '"$INSTDIR\corvane.exe"'
      StrLen $4 $3
      IntOp $4 $4 + 1
      IntOp $4 $4 * 2
      System::Call 'advapi32::RegSetValueExW(p r2, w "${PRODUCT}", i 0, i 1, w r3, i r4) i .r1'
      System::Call 'advapi32::RegCloseKey(p r2)'
    ${EndIf}
    System::Call 'advapi32::RegCloseKey(p $ShellUserHive)'
  ${EndIf}
  ${If} $1 <> 0
    DetailPrint "No logon entry for the signed-in user (error $1)."
    MessageBox MB_OK|MB_ICONEXCLAMATION "$(SetupNoLogonEntry)" /SD IDOK
  ${EndIf}
SectionEnd

Function StartBar
  StrCpy $R5 "$INSTDIR\corvane.exe"
  Call StartAsShellUser
  ${If} $ShellUserStarted <> 1
    MessageBox MB_OK|MB_ICONEXCLAMATION "$(SetupNotStarted)" /SD IDOK
  ${EndIf}
FunctionEnd

Function .onInstSuccess
  ${If} $StartWhenDone == 1
    Call StartBar
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
  SetShellVarContext all
  Delete "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk"
  Delete "$SMPROGRAMS\${PRODUCT}\Uninstall ${PRODUCT}.lnk"
  RMDir "$SMPROGRAMS\${PRODUCT}"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  ; Earlier setups wrote the logon entry for the account they ran as.
  DeleteRegValue HKCU "${RUN_KEY}" "${PRODUCT}"
  ${If} $RemoveSettings == ""
    StrCpy $RemoveSettings 0
    MessageBox MB_YESNO|MB_ICONQUESTION "$(SetupRemoveSettings)" /SD IDNO IDNO +2
    StrCpy $RemoveSettings 1
  ${EndIf}
  Call un.CleanShellUserHive
SectionEnd

; The signed-in user's logon entry, and settings when asked; without a signed-in user, this account's
; settings. Other users' entries stay: their hives are not loaded while they are signed out.
Function un.CleanShellUserHive
  Call un.OpenShellUserHive
  ${If} $ShellUserHive P<> 0
    System::Call 'advapi32::RegOpenKeyExW(p $ShellUserHive, w "${RUN_KEY}", i 0, i 2, *p .r2) i .r1'
    ${If} $1 = 0
      System::Call 'advapi32::RegDeleteValueW(p r2, w "${PRODUCT}") i'
      System::Call 'advapi32::RegCloseKey(p r2)'
    ${EndIf}
    ${If} $RemoveSettings == 1
      System::Call 'shlwapi::SHDeleteKeyW(p $ShellUserHive, w "${SETTINGS_KEY}") i'
    ${EndIf}
    System::Call 'advapi32::RegCloseKey(p $ShellUserHive)'
  ${ElseIf} $RemoveSettings == 1
    DeleteRegKey HKCU "${SETTINGS_KEY}"
  ${EndIf}
FunctionEnd
