; The Orrindale installer: installs orrindale.exe, orrindale-admin.exe and the guard service
; orrindale-guard.exe (services.nsh), makes the folder C:\Program Files\Halvard where the guard
; keeps the data file and the activity log, writes a first data file with the supervisor's
; password, records the protected install, keeps the install folder and the data folder to the
; administrators, starts Orrindale at every logon (in Safe Mode too) through the machine's Run key,
; and registers an uninstaller in "Apps and features".
; The build defines VERSION, STAGE (the folder of the stripped executables), ICON and OUTFILE.
;
; Silent use: orrindale-setup.exe /S /PASSWORD=... [/ALLOWNEWUSERS=yes|no] [/EXEMPT=yes|no]
; /PASSWORD (at least 6 characters) is needed when there is no data file yet; /EXEMPT=yes (the default) puts the
; account that runs the setup in the table with 1440 minutes a day, so that Orrindale does
; not log it off. Uninstaller: uninstall.exe /S [/REMOVEDATA].

Unicode true
SetCompressor /SOLID lzma
RequestExecutionLevel admin

!include MUI2.nsh
!include nsDialogs.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include services.nsh

; The program's paths are fixed in the program itself, on drive C: whatever the system folders.
!define HALVARD "C:\Program Files\Halvard"
!define DATA_FILE "${HALVARD}\HalvardDemo.dat"
!define LOG_FILE "${HALVARD}\debugDemo.log"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
; Windows runs a Run value whose name begins with "*" in Safe Mode too; earlier versions used the
; plain name, which Safe Mode passes over.
!define RUN_VALUE "*Orrindale"
!define OLD_RUN_VALUE "Orrindale"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Orrindale"
!define USERS_SID "*S-1-5-32-545"
!define SYSTEM_SID "*S-1-5-18"
!define ADMINISTRATORS_SID "*S-1-5-32-544"
; Standard accounts cannot change this key: the guard and the copies read from it that the guard
; keeps the table.
!define ORRINDALE_KEY "Software\Orrindale"
!define WHOLE_DAY 1440
; As orrindale-admin counts it: a shorter password is soon guessed at the password window.
!define SHORTEST_PASSWORD 6

Name "Orrindale"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES\Orrindale"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "Orrindale ${VERSION}"
VIProductVersion "${VERSION}.0.0"
VIAddVersionKey "ProductName" "Orrindale"
VIAddVersionKey "FileDescription" "Orrindale setup"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" "The Orrindale project"

Var Password
Var AllowNewUsers ; yes or no
Var Exempt        ; yes or no
Var Account       ; the account that runs the setup
Var FirstInstall  ; 1 when there is no data file yet
Var RemoveData    ; 1 when the uninstaller also removes the data file and the log
Var PasswordEdit
Var AgainEdit
Var AllowCheck
Var ExemptCheck
Var RemoveCheck

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING

!define MUI_PAGE_CUSTOMFUNCTION_LEAVE InstallFolderLeave
!insertmacro MUI_PAGE_DIRECTORY
Page custom PasswordPage PasswordPageLeave
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\orrindale.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Start Orrindale now"
!define MUI_PAGE_CUSTOMFUNCTION_SHOW FinishPageShow
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
UninstPage custom un.DataPage un.DataPageLeave
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

; Reads a yes|no option of the command line into the variable; anything else ends a silent setup.
!macro YesNoOption PARAMETERS OPTION VARIABLE DEFAULT
  ${GetOptions} "${PARAMETERS}" "${OPTION}" ${VARIABLE}
  ${If} ${Errors}
    StrCpy ${VARIABLE} ${DEFAULT}
  ${ElseIf} ${VARIABLE} != "yes"
  ${AndIf} ${VARIABLE} != "no"
    MessageBox MB_ICONSTOP "${OPTION} takes yes or no." /SD IDOK
    SetErrorLevel 1
    Quit
  ${EndIf}
!macroend

Function .onInit
  ReadEnvStr $Account USERNAME
  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/PASSWORD=" $Password
  !insertmacro YesNoOption $R0 "/ALLOWNEWUSERS=" $AllowNewUsers "yes"
  !insertmacro YesNoOption $R0 "/EXEMPT=" $Exempt "yes"
  StrCpy $FirstInstall 1
  ${If} ${FileExists} "${DATA_FILE}"
    StrCpy $FirstInstall 0
  ${EndIf}
  ; Before anything is written: a first install never runs without a good password, and no
  ; install takes over a folder that holds what is not Orrindale's. The pages ask otherwise.
  ${If} ${Silent}
    Call InstallFolderProblem
    ${If} $0 == ""
    ${AndIf} $FirstInstall == 1
      Call PasswordProblem
    ${EndIf}
    ${If} $0 != ""
      SetErrorLevel 2
      Quit
    ${EndIf}
  ${EndIf}
FunctionEnd

; Why the install folder cannot be used, in $0 ("" when it can): the setup takes over the rights
; of the folder and of everything in it, so it must be new, empty, or an earlier Orrindale's.
Function InstallFolderProblem
  StrCpy $0 ""
  ${If} ${FileExists} "$INSTDIR\orrindale.exe"
    Return
  ${EndIf}
  ClearErrors
  FindFirst $1 $2 "$INSTDIR\*"
  ${DoUntil} ${Errors}
    ${If} $2 != "."
    ${AndIf} $2 != ".."
      StrCpy $0 "$INSTDIR already holds other files. Please choose a new or empty folder: the setup gives the folder and everything in it to the administrators."
      ${Break}
    ${EndIf}
    FindNext $1 $2
  ${Loop}
  FindClose $1
FunctionEnd

Function InstallFolderLeave
  Call InstallFolderProblem
  ${If} $0 != ""
    MessageBox MB_ICONEXCLAMATION $0
    Abort
  ${EndIf}
FunctionEnd

; Why the typed password cannot be the supervisor's, in $0 ("" when it can): what orrindale-admin
; would refuse too, but only once the program files are in place.
Function PasswordProblem
  StrLen $0 $Password
  ${If} $Password == ""
    StrCpy $0 "Please choose a supervisor password."
  ${ElseIf} $0 < ${SHORTEST_PASSWORD}
    StrCpy $0 "The password needs at least ${SHORTEST_PASSWORD} characters: a shorter one is soon guessed."
  ${ElseIf} $Password == "quillsun"
    StrCpy $0 "That is the default password, which anyone can look up. Please choose another."
  ${Else}
    StrCpy $0 ""
  ${EndIf}
FunctionEnd

; Asked on a first install only: a reinstall keeps the data file as it is.
Function PasswordPage
  ${If} $FirstInstall == 0
    Abort
  ${EndIf}
  !insertmacro MUI_HEADER_TEXT "Supervisor password" "Only the supervisor may change the time limits."
  nsDialogs::Create 1018
  Pop $0
  ${NSD_CreateLabel} 0 0 100% 20u "The supervisor password opens Orrindale's administration window. Type it twice; it needs at least ${SHORTEST_PASSWORD} characters."
  ${NSD_CreateLabel} 0 26u 70u 12u "Password:"
  ${NSD_CreatePassword} 75u 24u 140u 12u ""
  Pop $PasswordEdit
  ${NSD_CreateLabel} 0 44u 70u 12u "Again:"
  ${NSD_CreatePassword} 75u 42u 140u 12u ""
  Pop $AgainEdit
  ${NSD_CreateCheckbox} 0 66u 100% 12u "Allow New Users: an account that is not in the table gets a free slot"
  Pop $AllowCheck
  ${If} $AllowNewUsers == "yes"
    ${NSD_Check} $AllowCheck
  ${EndIf}
  ${NSD_CreateCheckbox} 0 84u 100% 12u "Exempt this account ($Account): ${WHOLE_DAY} minutes every day"
  Pop $ExemptCheck
  ${If} $Exempt == "yes"
    ${NSD_Check} $ExemptCheck
  ${EndIf}
  ${NSD_CreateLabel} 0 104u 100% 30u "Orrindale logs off every account that is not in its table, this one too unless it is exempt. \
Add the children's accounts afterwards in the administration window or with orrindale-admin."
  ${NSD_SetFocus} $PasswordEdit
  nsDialogs::Show
FunctionEnd

Function PasswordPageLeave
  ${NSD_GetText} $PasswordEdit $Password
  ${NSD_GetText} $AgainEdit $0
  ; Letter case counts in a password: NSIS's own == ignores it.
  ${If} $Password S!= $0
    MessageBox MB_ICONEXCLAMATION "The two passwords differ. Please type the same password twice."
    Abort
  ${EndIf}
  Call PasswordProblem
  ${If} $0 != ""
    MessageBox MB_ICONEXCLAMATION $0
    Abort
  ${EndIf}
  StrCpy $AllowNewUsers "no"
  ${NSD_GetState} $AllowCheck $0
  ${If} $0 == ${BST_CHECKED}
    StrCpy $AllowNewUsers "yes"
  ${EndIf}
  StrCpy $Exempt "no"
  ${NSD_GetState} $ExemptCheck $0
  ${If} $0 == ${BST_CHECKED}
    StrCpy $Exempt "yes"
  ${EndIf}
FunctionEnd

; Starting Orrindale now is offered only when this account is known to be in the table:
; otherwise the new copy would log it off at once.
Function FinishPageShow
  ${If} $FirstInstall == 0
  ${OrIf} $Exempt != "yes"
    SendMessage $mui.FinishPage.Run ${BM_SETCHECK} ${BST_UNCHECKED} 0
    ShowWindow $mui.FinishPage.Run ${SW_HIDE}
  ${EndIf}
FunctionEnd

; Runs orrindale-admin with the arguments on the data file itself (the guard is stopped while the
; setup runs); on failure shows its message and ends the setup.
!macro Admin ARGUMENTS
  nsExec::ExecToStack '"$SYSDIR\cmd.exe" /c ""$INSTDIR\orrindale-admin.exe" ${ARGUMENTS} --file "${DATA_FILE}" 2>&1"'
  Pop $0
  Pop $1
  ${If} $0 != 0
    MessageBox MB_ICONSTOP "Orrindale could not write its data file:$\r$\n$1" /SD IDOK
    Delete "$PLUGINSDIR\password.txt"
    SetErrorLevel 3
    Abort
  ${EndIf}
!macroend

; The password goes to the tool on its standard input from a file that only this setup's
; account can read and that is deleted at once, never on a command line.
Function WriteDataFile
  InitPluginsDir
  FileOpen $2 "$PLUGINSDIR\password.txt" w
  FileWrite $2 $Password
  FileClose $2
  !insertmacro Admin 'init --password-stdin --allow-new-users $AllowNewUsers < "$PLUGINSDIR\password.txt"'
  Delete "$PLUGINSDIR\password.txt"
  ; The tool stores the account's own spelling; --force keeps an account that Windows cannot look
  ; up just now (a domain's, say) as it is named, rather than failing the setup.
  ${If} $Exempt == "yes"
  ${AndIf} $Account != ""
    !insertmacro Admin 'add-user "$Account" --force all=${WHOLE_DAY}'
  ${EndIf}
FunctionEnd

; Sets the rights with the system's icacls; on failure says what could not be done and ends the setup.
!macro Rights PATH ARGUMENTS WHAT
  nsExec::ExecToLog '"$SYSDIR\icacls.exe" "${PATH}" ${ARGUMENTS}'
  Pop $0
  ${If} $0 != 0
    MessageBox MB_ICONSTOP "Could not ${WHAT} (icacls said $0)." /SD IDOK
    SetErrorLevel 3
    Abort
  ${EndIf}
!macroend

; The install folder may be anywhere, and one made under C:\ inherits the right of every
; authenticated account to change what it holds: a standard account could then replace the guard,
; which Windows runs as LocalSystem. Before a program file is written, the folder and what it holds
; go to the administrators (an owner may always give itself rights again), lose every right set on
; them, and then hold only these: LocalSystem and the administrators full control, the built-in
; Users group (by its SID, the same in every language) read and run. Each step narrows what the
; folder allowed before it. Orrindale ships no DLL, so one beside its programs could only be loaded
; in place of the system's, and goes.
Function ProtectProgramFolder
  !insertmacro Rights "$INSTDIR" "/setowner ${ADMINISTRATORS_SID} /T" "give $INSTDIR and its files to the administrators"
  !insertmacro Rights "$INSTDIR" "/reset /T" "clear the rights set on $INSTDIR and its files"
  !insertmacro Rights "$INSTDIR" "/inheritance:r /grant:r ${SYSTEM_SID}:(OI)(CI)F ${ADMINISTRATORS_SID}:(OI)(CI)F ${USERS_SID}:(OI)(CI)RX" "keep $INSTDIR to the administrators"
  Delete "$INSTDIR\*.dll"
FunctionEnd

; Only the guard (LocalSystem) and the administrators may open the folder or anything in it: the
; Users group may not even list it, nor open the log (one that reads it could hold it or lock a
; range of it, and the guard's lines would be lost meanwhile); the supervisor reads it through
; orrindale-admin report. The folder loses the rights inherited from Program Files and those an
; earlier version gave the Users group, while never allowing more than before; the files then
; take the folder's rights alone, and every owner a copy made then becomes the administrators.
Function ProtectData
  ${IfNot} ${FileExists} "${LOG_FILE}"
    FileOpen $0 "${LOG_FILE}" a
    FileClose $0
  ${EndIf}
  !insertmacro Rights "${HALVARD}" "/setowner ${ADMINISTRATORS_SID} /T" "give ${HALVARD} and its files to the administrators"
  !insertmacro Rights "${HALVARD}" "/inheritance:r /grant:r ${SYSTEM_SID}:(OI)(CI)F ${ADMINISTRATORS_SID}:(OI)(CI)F" "keep ${HALVARD} to the guard and the administrators"
  !insertmacro Rights "${HALVARD}" "/remove:g ${USERS_SID}" "take the Users group's rights on ${HALVARD}"
  !insertmacro Rights "${DATA_FILE}" "/reset" "keep the data file to the guard and the administrators"
  !insertmacro Rights "${LOG_FILE}" "/reset" "keep the activity log to the guard and the administrators"
  WriteRegDWORD HKLM "${ORRINDALE_KEY}" "Protected" 1
FunctionEnd

Section "Orrindale"
  CreateDirectory "${HALVARD}"

  ; Running copies hold their program file open: an upgrade ends them first, after the guard,
  ; which would start them again. They start again at each account's next logon.
  !insertmacro StopServices
  nsExec::Exec '"$SYSDIR\taskkill.exe" /F /IM orrindale.exe'
  Pop $0
  CreateDirectory "$INSTDIR"
  Call ProtectProgramFolder
  SetOutPath "$INSTDIR"
  File "${STAGE}\orrindale.exe"
  File "${STAGE}\orrindale-admin.exe"

  ${If} $FirstInstall == 1
    Call WriteDataFile
  ${EndIf}
  ; From here on the guard keeps the data file and the log; it starts last.
  Call ProtectData
  !insertmacro InstallServices

  DeleteRegValue HKLM "${RUN_KEY}" "${OLD_RUN_VALUE}"
  WriteRegStr HKLM "${RUN_KEY}" "${RUN_VALUE}" '"$INSTDIR\orrindale.exe"'

  WriteUninstaller "$INSTDIR\uninstall.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Orrindale"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "The Orrindale project"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Comments" "Daily computer time for each account"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\orrindale.exe,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Function un.onInit
  StrCpy $RemoveData 0
  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/REMOVEDATA" $R1
  ${IfNot} ${Errors}
    StrCpy $RemoveData 1
  ${EndIf}
FunctionEnd

Function un.DataPage
  !insertmacro MUI_HEADER_TEXT "Data file and log" "Keep the time limits for a later install?"
  nsDialogs::Create 1018
  Pop $0
  ${NSD_CreateLabel} 0 0 100% 30u "The data file holds the supervisor password, the accounts and their allowances; \
the activity log holds what Orrindale did. Both are in ${HALVARD}."
  ${NSD_CreateCheckbox} 0 40u 100% 12u "Also remove the data file and the activity log"
  Pop $RemoveCheck
  nsDialogs::Show
FunctionEnd

Function un.DataPageLeave
  ${NSD_GetState} $RemoveCheck $0
  ${If} $0 == ${BST_CHECKED}
    StrCpy $RemoveData 1
  ${EndIf}
FunctionEnd

; The uninstall entry goes last: once it is gone, everything else is done.
Section "Uninstall"
  ; The guard goes first: it would start the ended copies again.
  !insertmacro RemoveServices
  nsExec::Exec '"$SYSDIR\taskkill.exe" /F /IM orrindale.exe'
  Pop $0
  ${If} $0 == 0
    Sleep 500 ; an ended process lets go of its program file a moment later
  ${EndIf}
  Delete "$INSTDIR\orrindale.exe"
  Delete "$INSTDIR\orrindale-admin.exe"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegValue HKLM "${RUN_KEY}" "${RUN_VALUE}"
  DeleteRegValue HKLM "${RUN_KEY}" "${OLD_RUN_VALUE}"
  DeleteRegKey HKLM "${ORRINDALE_KEY}"
  ${If} $RemoveData == 1
    Delete "${DATA_FILE}"
    Delete "${LOG_FILE}"
    Delete "${HALVARD}\HalvardHours.dat"
    RMDir "${HALVARD}"
  ${EndIf}
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
