; Installer of the vis_kt plug-in: finds the player's folder, copies vis_kt.dll
; into its Plugins folder and registers an uninstaller that removes exactly
; what was copied. plugin.ini, which other plug-ins share, is never touched.
;
; makensis /DVERSION=1.1f /DVERSION_NUMBERS=1.1.6.0 /DDLL=path/vis_kt.dll
;          /DOUTFILE=path/setup.exe [/DAMD64] vis_kt.nsi
; AMD64 makes a 64-bit installer; it exists only to run the installer tests
; on machines that cannot execute 32-bit programs. The shipped one is x86.

!ifndef VERSION
  !error "VERSION is not defined (/DVERSION=...)"
!endif
!ifndef VERSION_NUMBERS
  !error "VERSION_NUMBERS is not defined (/DVERSION_NUMBERS=a.b.c.d)"
!endif
!ifndef DLL
  !error "DLL is not defined (/DDLL=path of vis_kt.dll)"
!endif
!ifndef OUTFILE
  !error "OUTFILE is not defined (/DOUTFILE=path of the installer)"
!endif

!ifdef AMD64
  Target amd64-unicode
!else
  Target x86-unicode
!endif

!include LogicLib.nsh
!include FileFunc.nsh

!define PLAYER_EXE "winamp.exe"
!define PLAYER_WINDOW_CLASS "Winamp v1.x"
!define PLAYER_UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Winamp"
!define PLAYER_KEY "Software\Winamp"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\vis_kt"
!define UNINSTALLER "uninstall-vis_kt.exe"

; Exit codes besides NSIS's own (0 done, 1 cancelled, 2 aborted).
!define EXIT_NO_PLAYER 3
!define EXIT_PLAYER_RUNNING 4
!define EXIT_WRITE_FAILED 5

!define MSG_NOT_PLAYER_FOLDER "$INSTDIR does not hold ${PLAYER_EXE}, so it is not a Winamp folder.$\r$\n$\r$\nChoose the folder where Winamp is installed."
!define MSG_PLAYER_RUNNING "Winamp is running. Close it, then press Retry."

Name "vis_kt ${VERSION}"
Caption "vis_kt ${VERSION} Setup"
UninstallCaption "vis_kt ${VERSION} Uninstall"
BrandingText "vis_kt ${VERSION}"
OutFile "${OUTFILE}"
RequestExecutionLevel admin
SetCompressor /SOLID lzma
ShowInstDetails show
ShowUninstDetails show

VIProductVersion ${VERSION_NUMBERS}
VIAddVersionKey ProductName "vis_kt"
VIAddVersionKey ProductVersion "${VERSION}"
VIAddVersionKey FileVersion "${VERSION}"
VIAddVersionKey FileDescription "vis_kt ${VERSION} Setup (Deduzodo and VU-Meter for Winamp)"
VIAddVersionKey LegalCopyright "the vis_kt team"

DirText "Setup will put vis_kt ${VERSION} (Deduzodo and VU-Meter) into the Plugins folder \
of Winamp.$\r$\nChoose the Winamp folder: the one that holds ${PLAYER_EXE}." "Winamp folder" "Browse..."
UninstallText "This removes vis_kt ${VERSION} (vis_kt.dll and this uninstaller) from \
the Plugins folder below. plugin.ini stays." "Plugins folder:"

Page directory "" "" DirectoryLeave
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

; Leaves on the stack the program path in a command line such as
; "C:\Winamp\UninstWA.exe" /x or C:\Winamp\UninstWA.exe /x: the text between
; the first pair of quotes, else everything up to and including ".exe".
Function ProgramOfCommandLine
  Exch $0
  Push $1
  Push $2
  Push $3
  StrCpy $1 $0 1
  ${If} $1 == '"'
    StrCpy $0 $0 "" 1
    StrCpy $2 0
    ${Do}
      StrCpy $1 $0 1 $2
      ${IfThen} $1 == "" ${|} ${ExitDo} ${|}
      ${IfThen} $1 == '"' ${|} ${ExitDo} ${|}
      IntOp $2 $2 + 1
    ${Loop}
    StrCpy $0 $0 $2
  ${Else}
    StrLen $3 $0
    StrCpy $2 0
    ${DoWhile} $2 < $3
      StrCpy $1 $0 4 $2
      ${If} $1 == ".exe"
        IntOp $2 $2 + 4
        StrCpy $0 $0 $2
        ${ExitDo}
      ${EndIf}
      IntOp $2 $2 + 1
    ${Loop}
  ${EndIf}
  Pop $3
  Pop $2
  Pop $1
  Exch $0
FunctionEnd

; Removes the backslashes at the end of the folder path on the stack.
Function TrimFolder
  Exch $0
  Push $1
  ${Do}
    StrCpy $1 $0 1 -1
    ${IfThen} $1 != "\" ${|} ${ExitDo} ${|}
    StrCpy $0 $0 -1
  ${Loop}
  Pop $1
  Exch $0
FunctionEnd

; Sets $INSTDIR to the player's folder: the folder of the player's uninstaller,
; else the folder the player records for itself, else the usual place. A
; recorded folder that no longer holds the player is passed over.
Function FindPlayer
  Push $0
  ReadRegStr $0 HKLM "${PLAYER_UNINSTALL_KEY}" "UninstallString"
  ${If} $0 != ""
    Push $0
    Call ProgramOfCommandLine
    Pop $0
    ${GetParent} $0 $0
    ${If} ${FileExists} "$0\${PLAYER_EXE}"
      StrCpy $INSTDIR $0
      Pop $0
      Return
    ${EndIf}
  ${EndIf}
  ReadRegStr $0 HKCU "${PLAYER_KEY}" ""
  ${If} $0 != ""
    Push $0
    Call TrimFolder
    Pop $0
    ${If} ${FileExists} "$0\${PLAYER_EXE}"
      StrCpy $INSTDIR $0
      Pop $0
      Return
    ${EndIf}
  ${EndIf}
  StrCpy $INSTDIR "$PROGRAMFILES\Winamp"
  Pop $0
FunctionEnd

Function .onInit
  ; /D=folder sets $INSTDIR before this runs; the search only fills a blank.
  ${If} $INSTDIR == ""
    Call FindPlayer
  ${EndIf}
  ; A silent install has no page to correct the folder on: it stops here.
  ${If} ${Silent}
  ${AndIfNot} ${FileExists} "$INSTDIR\${PLAYER_EXE}"
    SetErrorLevel ${EXIT_NO_PLAYER}
    Quit
  ${EndIf}
FunctionEnd

Function DirectoryLeave
  ${IfNot} ${FileExists} "$INSTDIR\${PLAYER_EXE}"
    MessageBox MB_OK|MB_ICONEXCLAMATION "${MSG_NOT_PLAYER_FOLDER}"
    Abort
  ${EndIf}
FunctionEnd

; The player holds the plug-in open while it runs: asks the user to close it
; until it is gone or the user gives up. Silent runs give up at once.
!macro WAIT_FOR_PLAYER_CLOSED PREFIX
Function ${PREFIX}WaitForPlayerClosed
  Push $0
  retry:
    FindWindow $0 "${PLAYER_WINDOW_CLASS}"
    StrCmp $0 0 closed
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "${MSG_PLAYER_RUNNING}" /SD IDCANCEL IDRETRY retry
    Pop $0
    SetErrorLevel ${EXIT_PLAYER_RUNNING}
    Abort "Winamp is still running; nothing was changed."
  closed:
  Pop $0
FunctionEnd
!macroend
!insertmacro WAIT_FOR_PLAYER_CLOSED ""
!insertmacro WAIT_FOR_PLAYER_CLOSED "un."

Section "vis_kt"
  ${IfNot} ${FileExists} "$INSTDIR\${PLAYER_EXE}"
    SetErrorLevel ${EXIT_NO_PLAYER}
    Abort "$INSTDIR does not hold ${PLAYER_EXE}; nothing was changed."
  ${EndIf}
  Call WaitForPlayerClosed

  SetOutPath "$INSTDIR\Plugins"
  ; An older copy is removed first so that a copy still in use shows up here,
  ; before anything has changed.
  Delete "$INSTDIR\Plugins\vis_kt.dll"
  ${If} ${FileExists} "$INSTDIR\Plugins\vis_kt.dll"
    SetErrorLevel ${EXIT_WRITE_FAILED}
    Abort "Could not replace $INSTDIR\Plugins\vis_kt.dll: it is in use or read-only."
  ${EndIf}
  ClearErrors
  File "/oname=vis_kt.dll" "${DLL}"
  WriteUninstaller "$INSTDIR\Plugins\${UNINSTALLER}"
  ${If} ${Errors}
    SetErrorLevel ${EXIT_WRITE_FAILED}
    Abort "Could not write into $INSTDIR\Plugins."
  ${EndIf}

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "vis_kt ${VERSION} (Deduzodo and VU-Meter for Winamp)"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "the vis_kt team"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR\Plugins"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Plugins\${UNINSTALLER}"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Plugins\${UNINSTALLER}" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR\Plugins" "/M=vis_kt.dll /S=0K /G=0" $0 $1 $2
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

; The uninstaller lives in the Plugins folder, which is its $INSTDIR.
Section "Uninstall"
  Call un.WaitForPlayerClosed
  Delete "$INSTDIR\vis_kt.dll"
  ${If} ${FileExists} "$INSTDIR\vis_kt.dll"
    SetErrorLevel ${EXIT_WRITE_FAILED}
    Abort "Could not remove $INSTDIR\vis_kt.dll: it is in use or read-only."
  ${EndIf}
  Delete "$INSTDIR\${UNINSTALLER}"
  ; The entry may describe a later install into another player's folder;
  ; only this folder's entry is removed.
  ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $0 == $INSTDIR
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
  ${EndIf}
SectionEnd
