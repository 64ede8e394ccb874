; The installer's place for Windows services that come with Orrindale. There are none yet:
; a service is installed here after the program files are in place, and stopped and removed
; here before they are deleted.

!macro InstallServices
!macroend

!macro RemoveServices
!macroend
