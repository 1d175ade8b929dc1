/* Identifiers shared by kr7control.rc and the shell's code; plain defines,
   since the resource compiler reads this file too. */
#pragma once

#define KR7_IDI_APP 1
#define KR7_IDI_PRESET 2
#define KR7_IDI_BANK 3

#define KR7_IDD_PREFERENCES 40002
#define KR7_IDC_MIDI_INPUT 40018
#define KR7_IDC_MIDI_OUTPUT 40019
#define KR7_IDC_APPLY 40024
#define KR7_IDC_FIND_PEDAL 40040
#define KR7_IDC_FIND_RESULT 40041
