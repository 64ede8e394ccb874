; The guard service that comes with Orrindale, OrrindaleGuard (orrindale-guard.exe): it runs as
; LocalSystem from boot and starts Orrindale again in the session of an account with a time
; limit when it was ended. The guard registers, stops and removes itself through the service
; manager, waiting for each step to finish, so that its program file is free when these return.
; Standard accounts cannot stop or reconfigure it: the service manager's default security for a
; new service lets them only query it (see the README).

; Safe Mode starts only the services named under these keys, and an account may restart into it
; without a password: without them the guard would not run there. SYSTEM\CurrentControlSet is the
; same for 32-bit and 64-bit programs, so the setup's view of the registry reaches it.
!define SAFEBOOT_MINIMAL "SYSTEM\CurrentControlSet\Control\SafeBoot\Minimal\OrrindaleGuard"
!define SAFEBOOT_NETWORK "SYSTEM\CurrentControlSet\Control\SafeBoot\Network\OrrindaleGuard"

; Before program files are replaced: a running guard would start an ended Orrindale again and
; holds its own program file open. The setup's own copy of the guard does this, as none may be
; installed yet.
!macro StopServices
  InitPluginsDir
  File "/oname=$PLUGINSDIR\orrindale-guard.exe" "${STAGE}\orrindale-guard.exe"
  nsExec::ExecToLog '"$PLUGINSDIR\orrindale-guard.exe" --stop'
  Pop $0
!macroend

; After the program files are in place.
!macro InstallServices
  File "${STAGE}\orrindale-guard.exe"
  nsExec::ExecToLog '"$INSTDIR\orrindale-guard.exe" --install'
  Pop $0
  ${If} $0 != 0
    MessageBox MB_ICONSTOP "Could not register and start the Orrindale guard service (status $0)." /SD IDOK
    SetErrorLevel 3
    Abort
  ${EndIf}
  WriteRegStr HKLM "${SAFEBOOT_MINIMAL}" "" "Service"
  WriteRegStr HKLM "${SAFEBOOT_NETWORK}" "" "Service"
!macroend

; Before the program files are deleted, and before running copies of Orrindale are ended.
!macro RemoveServices
  nsExec::ExecToLog '"$INSTDIR\orrindale-guard.exe" --remove'
  Pop $0
  Delete "$INSTDIR\orrindale-guard.exe"
  DeleteRegKey HKLM "${SAFEBOOT_MINIMAL}"
  DeleteRegKey HKLM "${SAFEBOOT_NETWORK}"
!macroend
