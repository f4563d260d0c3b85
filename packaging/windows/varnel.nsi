; The Varnel V6 installer for 64-bit Windows, built by the Windows job
; (scripts/windows/installer.sh) with makensis -INPUTCHARSET UTF8 and these
; symbols: VERSION, PROGRAMS (the folder holding the stripped varnel.exe and
; varnel-export.exe), ICON, TASK_TEMPLATE (monthly-task.xml.in in UTF-16LE),
; OUTFILE and, on a release machine, SIGN (a command that signs the file
; named by its last argument in place).
;
; What it does, in order: removes a previous installation through its own
; uninstaller (the installer's choices are read before, so an upgrade offers
; them again); copies the two programs and writes the uninstaller; makes the
; "Varnel V6" shortcuts, whose working directory is the point-of-sale folder
; (the window works in its working directory); registers the uninstaller
; in Programs and Features; and, when asked, registers the monthly export
; with the Task Scheduler. It never writes to the point-of-sale folder, so
; Varnel.ini, Korvel.UDL and Korvel.ini are never touched, and the uninstaller
; leaves them and every exported file where they are.
;
; Silent mode: setup.exe /S [/PDV=folder] [/ATALHO=0|1] [/TAREFA=0|1]
; [/HORA=HH:MM] [/SAIDA=folder] [/D=installation folder, always last].
; Exit codes: 0 installed; 1 cancelled; 2 refused (the reason also goes to
; %TEMP%\varnel-instalacao.txt when silent); 3 installed, but the monthly
; export could not be scheduled.

Unicode true
Target amd64-unicode
ManifestDPIAware true
RequestExecutionLevel admin
SetCompressor /SOLID lzma

!include MUI2.nsh
!include nsDialogs.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include WordFunc.nsh

!define PRODUCT "Varnel V6"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Varnel"
!define CHOICES_KEY "Software\Varnel"
!define UNINSTALLER "Desinstalar.exe"
!define SHORTCUT "Varnel V6.lnk"
!define TASK_NAME "Varnel SAF-T mensal"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Varnel"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"  ; an upgrade goes where the last installation went
BrandingText "${PRODUCT} ${VERSION}"
VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=2070 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=2070 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=2070 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=2070 "FileDescription" "Instalação do ${PRODUCT}"
VIAddVersionKey /LANG=2070 "LegalCopyright" "Varnel"

!ifdef SIGN
  !finalize '${SIGN} "%1"' = 0
  !uninstfinalize '${SIGN} "%1"' = 0
!endif

; The choices, from the previous installation, the command line or the pages.
Var PosFolder        ; the point-of-sale folder (Korvel.UDL, Korvel.ini, Varnel.ini)
Var DesktopShortcut  ; 1: a shortcut on the desktop as well
Var Task             ; 1: the monthly export scheduled
Var Hour             ; HH:MM on the 1st of each month
Var OutputFolder     ; where the monthly files, reports and statuses go
; The custom pages' controls.
Var PosField
Var DesktopBox
Var TaskBox
Var HourField
Var OutputField
Var OutputButton

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
Page custom PosFolderPage PosFolderLeave
Page custom TaskPage TaskLeave
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "Portuguese"

!include "setup_choices.nsh"
!include "setup_pages.nsh"
!include "setup_task.nsh"

Function .onInit
  SetShellVarContext all
  SetRegView 64
  Call ReadPreviousChoices
  Call ReadCommandLineChoices
  ${If} ${Silent}
    Call CheckChoices
    Pop $0
    ${If} $0 != ""
      Call RefuseSilently
    ${EndIf}
  ${EndIf}
FunctionEnd

Section "-Programa"
  SetShellVarContext all
  SetRegView 64
  Call RemovePreviousInstallation
  SetOutPath "$INSTDIR"
  File "${PROGRAMS}\varnel.exe"
  File "${PROGRAMS}\varnel-export.exe"
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"

  ; CreateShortcut takes the output path as the shortcut's working directory.
  SetOutPath "$PosFolder"
  CreateShortcut "$SMPROGRAMS\${SHORTCUT}" "$INSTDIR\varnel.exe" "" "$INSTDIR\varnel.exe" 0 \
    SW_SHOWNORMAL "" "Exportação do SAF-T (PT) do ponto de venda"
  ${If} $DesktopShortcut == 1
    CreateShortcut "$DESKTOP\${SHORTCUT}" "$INSTDIR\varnel.exe" "" "$INSTDIR\varnel.exe" 0 \
      SW_SHOWNORMAL "" "Exportação do SAF-T (PT) do ponto de venda"
  ${EndIf}
  SetOutPath "$INSTDIR"

  Call WriteUninstallEntry
  Call WriteChoices
  ${If} $Task == 1
    Call RegisterMonthlyTask
  ${EndIf}
SectionEnd

Function WriteUninstallEntry
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Varnel"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\varnel.exe,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" "$0"
FunctionEnd

; An earlier installation (this version or another) goes through its own
; uninstaller, which knows what it installed: nothing of it stays behind, and
; the pos folder's files are not its to remove.
Function RemovePreviousInstallation
  ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $0 == ""
  ${OrIfNot} ${FileExists} "$0\${UNINSTALLER}"
    Return
  ${EndIf}
  DetailPrint "A remover a versão anterior ($0)"
  ExecWait '"$0\${UNINSTALLER}" /S _?=$0' $1
  Delete "$0\${UNINSTALLER}"
  RMDir "$0"
FunctionEnd

Section "Uninstall"
  SetShellVarContext all
  SetRegView 64
  Call un.RemoveMonthlyTask
  Delete "$INSTDIR\varnel.exe"
  Delete "$INSTDIR\varnel-export.exe"
  Delete "$INSTDIR\${UNINSTALLER}"
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\${SHORTCUT}"
  Delete "$DESKTOP\${SHORTCUT}"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  DeleteRegKey HKLM "${CHOICES_KEY}"
SectionEnd
