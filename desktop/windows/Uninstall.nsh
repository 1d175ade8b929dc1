; The user's data folder (presets, impulse responses, settings.ini below
; %LOCALAPPDATA%\KR7Control) is theirs and stays.
!insertmacro KR7Dissociate r3p KR7Control.Preset
!insertmacro KR7Dissociate r3b KR7Control.Bank
System::Call 'shell32::SHChangeNotify(i ${KR7_SHCNE_ASSOCCHANGED}, i 0, p 0, p 0)'
