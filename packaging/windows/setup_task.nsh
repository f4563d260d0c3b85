; The monthly export as a Task Scheduler task named "Varnel SAF-T mensal".
; Its definition is monthly-task.xml.in (packed in UTF-16LE) with the program,
; the point-of-sale folder as working directory, the output folder and the
; hour filled in; schtasks /Create /XML registers it (replacing a task of the
; same name, such as one made by hand from the portable package's notes) and
; the uninstaller deletes it.

; XML text of the value on the stack: "&" becomes "&amp;" (the only one of
; the XML's special characters a Windows path can hold).
Function XmlText
  Exch $0
  ${WordReplace} "$0" "&" "&amp;" "+" $0
  Exch $0
FunctionEnd

Function RegisterMonthlyTask
  CreateDirectory "$OutputFolder"
  InitPluginsDir
  File "/oname=$PLUGINSDIR\monthly-task.xml.in" "${TASK_TEMPLATE}"
  Push "$INSTDIR\varnel-export.exe"
  Call XmlText
  Pop $R2
  Push $PosFolder
  Call XmlText
  Pop $R3
  Push $OutputFolder
  Call XmlText
  Pop $R4
  FileOpen $R0 "$PLUGINSDIR\monthly-task.xml.in" r
  FileOpen $R1 "$PLUGINSDIR\monthly-task.xml" w
  FileReadWord $R0 $0  ; the byte-order mark
  ${Do}
    ClearErrors
    FileReadUTF16LE $R0 $0
    ${If} ${Errors}
      ${Break}
    ${EndIf}
    ${WordReplace} "$0" "@PROGRAM@" "$R2" "+" $0
    ${WordReplace} "$0" "@WORKDIR@" "$R3" "+" $0
    ${WordReplace} "$0" "@OUTPUT@" "$R4" "+" $0
    ${WordReplace} "$0" "@HOUR@" "$Hour" "+" $0
    FileWriteUTF16LE /BOM $R1 "$0"
  ${Loop}
  FileClose $R0
  FileClose $R1
  DetailPrint "A agendar a exportação mensal: dia 1 de cada mês às $Hour"
  nsExec::ExecToStack '"$SYSDIR\schtasks.exe" /Create /F /TN "${TASK_NAME}" /XML "$PLUGINSDIR\monthly-task.xml"'
  Pop $0
  Pop $1
  ${If} $0 != 0
    DetailPrint "schtasks: $1"
    MessageBox MB_OK|MB_ICONEXCLAMATION "Não foi possível agendar a exportação mensal (schtasks terminou com \
      $0):$\r$\n$1$\r$\nO ${PRODUCT} ficou instalado; a exportação mensal pode ser agendada com o Agendador \
      de Tarefas." /SD IDOK
    SetErrorLevel 3
  ${EndIf}
FunctionEnd

Function un.RemoveMonthlyTask
  nsExec::ExecToStack '"$SYSDIR\schtasks.exe" /Delete /F /TN "${TASK_NAME}"'
  Pop $0
  Pop $1
FunctionEnd
