; What the elevated setup does on behalf of the user signed in at this desktop, who may not be the
; administrator whose token the setup runs with (a standard user elevates with another account's password):
; start a program as that user, at the user's own integrity level, and reach that user's HKEY_CURRENT_USER.
;
; The user is found through the shell of the session: the process of the shell's desktop window
; (GetShellWindow), or of the taskbar where the shell keeps no desktop window. Its token, duplicated, starts
; programs with CreateProcessWithTokenW (which needs the impersonation privilege an elevated administrator
; holds) and, impersonated for a moment, opens the user's hive with RegOpenCurrentUser. Without a shell (a
; setup run by a deployment service, with nobody signed in) nothing is started and nothing is written.
;
; Results: $ShellUserStarted (1 or 0) and $ShellUserHive (a key handle or 0). The functions use $R5 to $R9.

!define /ifndef PROCESS_QUERY_INFORMATION 0x0400
!define /ifndef TOKEN_DUPLICATE 0x0002
; TOKEN_ASSIGN_PRIMARY, TOKEN_DUPLICATE, TOKEN_QUERY, TOKEN_ADJUST_DEFAULT and TOKEN_ADJUST_SESSIONID: what
; CreateProcessWithTokenW and ImpersonateLoggedOnUser ask of a primary token.
!define USER_TOKEN_ACCESS 0x018B
!define SECURITY_IMPERSONATION 2
!define TOKEN_PRIMARY 1
!define /ifndef KEY_READ_WRITE 0x2001F
!define /ifndef SW_SHOWNORMAL 1
!if "${ARCH}" == "x64"
  !define STARTUPINFO_SIZE 104
  !define PROCESS_INFORMATION_SIZE 24
!else
  !define STARTUPINFO_SIZE 68
  !define PROCESS_INFORMATION_SIZE 16
!endif

Var ShellUserToken
Var ShellUserStarted
Var ShellUserHive

!macro ShellUserTokenFunction UN
; $ShellUserToken: a primary token of the shell's user, or 0.
Function ${UN}ShellUserToken
  StrCpy $ShellUserToken 0
  System::Call 'user32::GetShellWindow() p .R9'
  ${If} $R9 P= 0
    FindWindow $R9 "Shell_TrayWnd"
  ${EndIf}
  ${If} $R9 P= 0
    Return
  ${EndIf}
  System::Call 'user32::GetWindowThreadProcessId(p R9, *i .R8) i'
  System::Call 'kernel32::OpenProcess(i ${PROCESS_QUERY_INFORMATION}, i 0, i R8) p .R9'
  ${If} $R9 P= 0
    Return
  ${EndIf}
  System::Call 'advapi32::OpenProcessToken(p R9, i ${TOKEN_DUPLICATE}, *p .R8) i .R7'
  ${If} $R7 <> 0
    System::Call 'advapi32::DuplicateTokenEx(p R8, i ${USER_TOKEN_ACCESS}, p 0, i ${SECURITY_IMPERSONATION}, \
      i ${TOKEN_PRIMARY}, *p .R6) i .R7'
    ${IfThen} $R7 <> 0 ${|} StrCpy $ShellUserToken $R6 ${|}
    System::Call 'kernel32::CloseHandle(p R8)'
  ${EndIf}
  System::Call 'kernel32::CloseHandle(p R9)'
FunctionEnd

; $ShellUserHive: the shell's user's HKEY_CURRENT_USER, opened for reading and writing, or 0. The handle
; keeps the access it was opened with after the impersonation ends; close it with RegCloseKey.
Function ${UN}OpenShellUserHive
  StrCpy $ShellUserHive 0
  Call ${UN}ShellUserToken
  ${If} $ShellUserToken P= 0
    Return
  ${EndIf}
  System::Call 'advapi32::ImpersonateLoggedOnUser(p $ShellUserToken) i .R9'
  ${If} $R9 <> 0
    System::Call 'advapi32::RegOpenCurrentUser(i ${KEY_READ_WRITE}, *p .R8) i .R7'
    ${IfThen} $R7 = 0 ${|} StrCpy $ShellUserHive $R8 ${|}
    System::Call 'advapi32::RevertToSelf() i'
  ${EndIf}
  System::Call 'kernel32::CloseHandle(p $ShellUserToken)'
FunctionEnd
!macroend

; Starts the program $R5 (a full path) as the shell's user, in the program's own folder; $ShellUserStarted
; says whether it started.
Function StartAsShellUser
  StrCpy $ShellUserStarted 0
  Call ShellUserToken
  ${If} $ShellUserToken P= 0
    Return
  ${EndIf}
  System::Alloc ${STARTUPINFO_SIZE}
  Pop $R9
  System::Call '*$R9(i ${STARTUPINFO_SIZE})'
  System::Alloc ${PROCESS_INFORMATION_SIZE}
  Pop $R8
  ${GetParent} $R5 $R6
  StrCpy $R7 `"$R5"`
  ; With no environment given, the program gets the user's own, made from the user's profile.
  System::Call 'advapi32::CreateProcessWithTokenW(p $ShellUserToken, i 0, w R5, w R7, i 0, p 0, w R6, p R9, \
    p R8) i .R7'
  ${If} $R7 <> 0
    StrCpy $ShellUserStarted 1
    System::Call '*$R8(p .R6, p .R7)'
    System::Call 'kernel32::CloseHandle(p R6)'
    System::Call 'kernel32::CloseHandle(p R7)'
  ${EndIf}
  System::Free $R8
  System::Free $R9
  System::Call 'kernel32::CloseHandle(p $ShellUserToken)'
FunctionEnd
