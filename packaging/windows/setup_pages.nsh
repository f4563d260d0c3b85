; The installer's two pages of its own, between the installation folder and
; the copying: the point-of-sale folder (checked to hold Korvel.UDL) with the
; desktop shortcut, and the monthly export with its hour and output folder.
; A page that is refused stays open with a message saying why.

Function PosFolderPage
  !insertmacro MUI_HEADER_TEXT "Pasta do ponto de venda" \
    "A pasta da instalação do Korvel, onde estão o Korvel.UDL e o Korvel.ini."
  nsDialogs::Create 1018
  Pop $0
  ${NSD_CreateLabel} 0 0 100% 40u "O ${PRODUCT} trabalha na pasta da instalação do ponto de venda: liga-se à \
    base de dados pelo Korvel.UDL, lê a série do Korvel.ini e guarda os dados da empresa no Varnel.ini dessa \
    pasta. O atalho abre o ${PRODUCT} nessa pasta."
  Pop $0
  ${NSD_CreateLabel} 0 46u 100% 10u "Pasta do ponto de venda:"
  Pop $0
  ${NSD_CreateDirRequest} 0 58u 238u 13u "$PosFolder"
  Pop $PosField
  ${NSD_CreateBrowseButton} 243u 57u 57u 15u "Procurar..."
  Pop $0
  ${NSD_OnClick} $0 BrowsePosFolder
  ${NSD_CreateCheckbox} 0 86u 100% 12u "Criar também um atalho no ambiente de trabalho"
  Pop $DesktopBox
  ${If} $DesktopShortcut == 1
    ${NSD_Check} $DesktopBox
  ${EndIf}
  nsDialogs::Show
FunctionEnd

Function BrowsePosFolder
  ${NSD_GetText} $PosField $0
  nsDialogs::SelectFolderDialog "Escolha a pasta do ponto de venda (a do Korvel.UDL)." "$0"
  Pop $0
  ${If} $0 != "error"
    ${NSD_SetText} $PosField "$0"
  ${EndIf}
FunctionEnd

Function PosFolderLeave
  ${NSD_GetText} $PosField $PosFolder
  ${NSD_GetState} $DesktopBox $DesktopShortcut
  ${If} $DesktopShortcut != ${BST_CHECKED}
    StrCpy $DesktopShortcut 0
  ${EndIf}
  Push $PosFolder
  Call TrimFolder
  Pop $PosFolder
  Call CheckPosFolder
  Pop $0
  ${If} $0 != ""
    MessageBox MB_OK|MB_ICONEXCLAMATION "$0"
    Abort
  ${EndIf}
FunctionEnd

Function TaskPage
  !insertmacro MUI_HEADER_TEXT "Exportação mensal agendada" \
    "O SAF-T (PT) de cada mês, exportado no dia 1 do mês seguinte."
  nsDialogs::Create 1018
  Pop $0
  ${NSD_CreateCheckbox} 0 0 100% 12u "Exportação mensal agendada"
  Pop $TaskBox
  ${NSD_OnClick} $TaskBox TaskBoxClicked
  ${NSD_CreateLabel} 12u 16u 288u 50u "No dia 1 de cada mês, à hora indicada, o Agendador de Tarefas exporta o \
    SAF-T (PT) do mês anterior, tipo Resumido, para SAFT-AAAA-MM.xml, com o relatório da verificação \
    (SAFT-AAAA-MM-relatorio.json) e o estado de saída (SAFT-AAAA-MM-estado.txt) ao lado. Se o computador \
    estiver desligado a essa hora, a exportação corre logo que for ligado."
  Pop $0
  ${NSD_CreateLabel} 12u 72u 40u 10u "Hora:"
  Pop $0
  ${NSD_CreateText} 55u 70u 40u 13u "$Hour"
  Pop $HourField
  ${NSD_CreateLabel} 12u 92u 288u 10u "Pasta dos ficheiros exportados, dos relatórios e dos estados:"
  Pop $0
  ${NSD_CreateDirRequest} 12u 104u 226u 13u "$OutputFolder"
  Pop $OutputField
  ${NSD_CreateBrowseButton} 243u 103u 57u 15u "Procurar..."
  Pop $OutputButton
  ${NSD_OnClick} $OutputButton BrowseOutputFolder
  ${If} $Task == 1
    ${NSD_Check} $TaskBox
  ${EndIf}
  Call EnableTaskFields
  nsDialogs::Show
FunctionEnd

Function TaskBoxClicked
  Pop $0
  Call EnableTaskFields
FunctionEnd

Function EnableTaskFields
  ${NSD_GetState} $TaskBox $0
  ${If} $0 == ${BST_CHECKED}
    StrCpy $0 1
  ${Else}
    StrCpy $0 0
  ${EndIf}
  EnableWindow $HourField $0
  EnableWindow $OutputField $0
  EnableWindow $OutputButton $0
FunctionEnd

Function BrowseOutputFolder
  ${NSD_GetText} $OutputField $0
  nsDialogs::SelectFolderDialog "Escolha a pasta dos ficheiros SAF-T exportados." "$0"
  Pop $0
  ${If} $0 != "error"
    ${NSD_SetText} $OutputField "$0"
  ${EndIf}
FunctionEnd

Function TaskLeave
  ${NSD_GetState} $TaskBox $Task
  ${If} $Task != ${BST_CHECKED}
    StrCpy $Task 0
  ${EndIf}
  ${NSD_GetText} $HourField $Hour
  ${NSD_GetText} $OutputField $OutputFolder
  Push $OutputFolder
  Call TrimFolder
  Pop $OutputFolder
  Call CheckTaskChoices
  Pop $0
  ${If} $0 != ""
    MessageBox MB_OK|MB_ICONEXCLAMATION "$0"
    Abort
  ${EndIf}
FunctionEnd
