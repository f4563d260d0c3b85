; The installer's choices: the defaults, what the previous installation chose
; (kept under HKLM\Software\Varnel, so an upgrade offers them again and a
; silent upgrade without switches keeps them), the technician's switches,
; and the checks every choice passes before anything is installed.

Function ReadPreviousChoices
  StrCpy $DesktopShortcut 0
  StrCpy $Task 1
  StrCpy $Hour "03:00"
  StrCpy $OutputFolder "$DOCUMENTS\SAF-T"
  ReadRegStr $PosFolder HKLM "${CHOICES_KEY}" "PontoDeVenda"
  ClearErrors
  ReadRegStr $0 HKLM "${CHOICES_KEY}" "Atalho"
  ${IfNot} ${Errors}
    StrCpy $DesktopShortcut $0
  ${EndIf}
  ClearErrors
  ReadRegStr $0 HKLM "${CHOICES_KEY}" "Tarefa"
  ${IfNot} ${Errors}
    StrCpy $Task $0
  ${EndIf}
  ReadRegStr $0 HKLM "${CHOICES_KEY}" "Hora"
  ${If} $0 != ""
    StrCpy $Hour $0
  ${EndIf}
  ReadRegStr $0 HKLM "${CHOICES_KEY}" "Saida"
  ${If} $0 != ""
    StrCpy $OutputFolder $0
  ${EndIf}
FunctionEnd

; /PDV=folder /ATALHO=0|1 /TAREFA=0|1 /HORA=HH:MM /SAIDA=folder (NSIS itself
; takes /S and /D=).
!macro ReadSwitch NAME VARIABLE
  ClearErrors
  ${GetOptions} $R0 "/${NAME}=" $R1
  ${IfNot} ${Errors}
    StrCpy ${VARIABLE} $R1
  ${EndIf}
!macroend

Function ReadCommandLineChoices
  ${GetParameters} $R0
  !insertmacro ReadSwitch "PDV" $PosFolder
  !insertmacro ReadSwitch "ATALHO" $DesktopShortcut
  !insertmacro ReadSwitch "TAREFA" $Task
  !insertmacro ReadSwitch "HORA" $Hour
  !insertmacro ReadSwitch "SAIDA" $OutputFolder
FunctionEnd

Function WriteChoices
  WriteRegStr HKLM "${CHOICES_KEY}" "PontoDeVenda" "$PosFolder"
  WriteRegStr HKLM "${CHOICES_KEY}" "Atalho" "$DesktopShortcut"
  WriteRegStr HKLM "${CHOICES_KEY}" "Tarefa" "$Task"
  WriteRegStr HKLM "${CHOICES_KEY}" "Hora" "$Hour"
  WriteRegStr HKLM "${CHOICES_KEY}" "Saida" "$OutputFolder"
FunctionEnd

; Pushes "" when every choice can be installed, else the reason, in the
; words the pages show. Folders lose a trailing "\" (a drive's root keeps
; it) and the hour gets its leading zero.
Function CheckChoices
  Push $PosFolder
  Call TrimFolder
  Pop $PosFolder
  Push $OutputFolder
  Call TrimFolder
  Pop $OutputFolder
  Call CheckPosFolder
  Pop $0
  ${If} $0 != ""
    Push $0
    Return
  ${EndIf}
  Call CheckTaskChoices
FunctionEnd

Function CheckPosFolder
  ${If} $PosFolder == ""
    Push "Indique a pasta do ponto de venda: a pasta da instalação do Korvel, onde estão o Korvel.UDL (a ligação à base de dados) e o Korvel.ini."
  ${ElseIfNot} ${FileExists} "$PosFolder\Korvel.UDL"
    Push "A pasta $\"$PosFolder$\" não tem o ficheiro Korvel.UDL.$\r$\n$\r$\nIndique a pasta da instalação do ponto de venda Korvel, onde estão o Korvel.UDL (a ligação à base de dados) e o Korvel.ini."
  ${Else}
    Push ""
  ${EndIf}
FunctionEnd

Function CheckTaskChoices
  ${If} $Task != 0
  ${AndIf} $Task != 1
    Push "A opção /TAREFA aceita 0 ou 1, não $\"$Task$\"."
    Return
  ${EndIf}
  ${If} $DesktopShortcut != 0
  ${AndIf} $DesktopShortcut != 1
    Push "A opção /ATALHO aceita 0 ou 1, não $\"$DesktopShortcut$\"."
    Return
  ${EndIf}
  ${If} $Task == 0
    Push ""
    Return
  ${EndIf}
  Call CheckHour
  Pop $0
  ${If} $0 != ""
    Push $0
  ${ElseIf} $OutputFolder == ""
    Push "Indique a pasta onde ficam os ficheiros SAF-T exportados, os relatórios e os estados de saída."
  ${Else}
    Push $OutputFolder
    Call IsAbsoluteFolder
    Pop $0
    ${If} $0 == 1
      Push ""
    ${Else}
      Push "A pasta dos ficheiros exportados tem de ser um caminho completo (por exemplo C:\SAF-T), não $\"$OutputFolder$\"."
    ${EndIf}
  ${EndIf}
FunctionEnd

; $Hour as HH:MM, 00:00 to 23:59 ("3:00" becomes "03:00"); pushes "" or why not.
Function CheckHour
  StrLen $0 $Hour
  ${If} $0 == 4
    StrCpy $Hour "0$Hour"
  ${EndIf}
  StrCpy $1 $Hour 2
  StrCpy $2 $Hour 1 2
  StrCpy $3 $Hour 2 3
  StrLen $0 $Hour
  ${StrFilter} "$1$3" "1" "" "" $5
  ${If} $0 != 5
  ${OrIf} $2 != ":"
  ${OrIf} $5 != "$1$3"
  ${OrIf} $1 > 23
  ${OrIf} $3 > 59
    Push "A hora $\"$Hour$\" não é válida: escreva-a como HH:MM, entre 00:00 e 23:59 (por exemplo 03:00)."
  ${Else}
    Push ""
  ${EndIf}
FunctionEnd

; The folder on the stack without a trailing "\", unless it is a drive's root.
Function TrimFolder
  Exch $0
  Push $1
  StrLen $1 $0
  ${If} $1 > 3
    StrCpy $1 $0 1 -1
    ${If} $1 == "\"
      StrCpy $0 $0 -1
    ${EndIf}
  ${EndIf}
  Pop $1
  Exch $0
FunctionEnd

; Pushes 1 when the folder on the stack is a full path (X:\... or \\server\...).
Function IsAbsoluteFolder
  Exch $0
  StrCpy $1 $0 2 1
  StrCpy $2 $0 2
  ${If} $1 == ":\"
  ${OrIf} $2 == "\\"
    StrCpy $0 1
  ${Else}
    StrCpy $0 0
  ${EndIf}
  Exch $0
FunctionEnd

; A silent installation has no window to show why it stops: the reason goes
; to %TEMP%\varnel-instalacao.txt and the exit code is 2.
Function RefuseSilently
  FileOpen $1 "$TEMP\varnel-instalacao.txt" w
  FileWriteUTF16LE /BOM $1 "Instalação do ${PRODUCT} ${VERSION} recusada:$\r$\n$0$\r$\n"
  FileClose $1
  SetErrorLevel 2
  Quit
FunctionEnd
