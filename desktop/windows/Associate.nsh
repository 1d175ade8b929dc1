; The file types the editor opens, registered for every user of the machine
; (the installer runs as administrator and writes below HKLM). Each type
; shows its own icon from kr7control.exe and opens with the editor, which
; hands the file to a running editor when there is one.
!macro KR7Associate EXT TYPE DESCRIPTION ICON
  WriteRegStr SHCTX "Software\Classes\.${EXT}" "" "${TYPE}"
  WriteRegStr SHCTX "Software\Classes\${TYPE}" "" "${DESCRIPTION}"
  WriteRegStr SHCTX "Software\Classes\${TYPE}\DefaultIcon" "" "$INSTDIR\kr7control.exe,-${ICON}"
  WriteRegStr SHCTX "Software\Classes\${TYPE}\shell\open\command" "" '"$INSTDIR\kr7control.exe" "%1"'
!macroend

!macro KR7Dissociate EXT TYPE
  ReadRegStr $0 SHCTX "Software\Classes\.${EXT}" ""
  StrCmp $0 "${TYPE}" 0 +2
  DeleteRegKey SHCTX "Software\Classes\.${EXT}"
  DeleteRegKey SHCTX "Software\Classes\${TYPE}"
!macroend

!define KR7_SHCNE_ASSOCCHANGED 0x08000000
