!insertmacro KR7Associate r3p KR7Control.Preset "KR7 preset" 2
!insertmacro KR7Associate r3b KR7Control.Bank "KR7 preset bank" 3
System::Call 'shell32::SHChangeNotify(i ${KR7_SHCNE_ASSOCCHANGED}, i 0, p 0, p 0)'
