#pragma once
// The pedal's two expression/footswitch jacks and the short descriptions of
// what each jack function sends ("CH 1 - CC 11", "Expression Pedal").
//
// Jack 1 is parameters 103/104 (mode, polarity), pedal 122..128, switches A
// 129..132 and B 133..136, special controls 137/138; jack 2 likewise with
// 101/102, 105..111, 112..115, 116..119 and 120/121. Window-free: the
// describer returns texts, the caller decides where they go.

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "model/ControlTags.h"
#include "model/Parameters.h"

namespace kr7 {

inline constexpr int kNumJackFunctions = 6;
inline constexpr int kJackTextLines = 3;

// Pedal modes and switch function modes as the parameters number them.
enum PedalMode : int { kPedalControl = 0, kPedalAftertouch = 1, kPedalBend = 2 };
enum SwitchFunctionMode : int {
  kSwitchControl = 0,
  kSwitchNote = 1,
  kSwitchStart = 2,
  kSwitchStop = 3,
  kSwitchProgramChange = 4,
  kSwitchSpecialControl = 5,
  kSwitchPedal = 6,
};

struct Jack {
  int modeParam;      // 0 "Pedal", otherwise "Switches"
  int polarityParam;  // "Tip" / "Ring"; usable only in pedal mode
  int pedalFunction;
  std::array<int, 2> switchFunctions;  // A, B
  int specialLowerParam;               // shared by both switches
  int specialUpperParam;
  std::string_view pedalGroup;
  std::string_view switchGroup;
};

// One of the six things a jack can send: a pedal, or switch A or B.
struct JackFunction {
  int jack;  // 0 for jack 1, 1 for jack 2
  bool pedal;
  int channelParam;
  int modeParam;  // pedal mode, or switch function mode
  int controllerParam;
  int firstTextTag;  // the lines go to this tag and the two after it
};

inline constexpr std::array<Jack, 2> kJacks = {{
    {kParamJack1Mode,
     kParamJack1Polarity,
     0,
     {2, 3},
     kParamSwitch1SpecialCtrlLower,
     kParamSwitch1SpecialCtrlUpper,
     kGroupJack1Pedal,
     kGroupJack1Switch},
    {kParamJack2Mode,
     kParamJack2Polarity,
     1,
     {4, 5},
     kParamSwitch2SpecialCtrlLower,
     kParamSwitch2SpecialCtrlUpper,
     kGroupJack2Pedal,
     kGroupJack2Switch},
}};

inline constexpr std::array<JackFunction, kNumJackFunctions> kJackFunctions = {{
    {0, true, kParamPedal1MidiChannel, kParamPedal1Mode, kParamPedal1Controller,
     kTagJack1PedalText},
    {1, true, kParamPedal2MidiChannel, kParamPedal2Mode, kParamPedal2Controller,
     kTagJack2PedalText},
    {0, false, kParamSwitchA1MidiChannel, kParamSwitchA1FunctionMode, kParamSwitchA1Controller,
     kTagJack1SwitchAText},
    {0, false, kParamSwitchB1MidiChannel, kParamSwitchB1FunctionMode, kParamSwitchB1Controller,
     kTagJack1SwitchBText},
    {1, false, kParamSwitchA2MidiChannel, kParamSwitchA2FunctionMode, kParamSwitchA2Controller,
     kTagJack2SwitchAText},
    {1, false, kParamSwitchB2MidiChannel, kParamSwitchB2FunctionMode, kParamSwitchB2Controller,
     kTagJack2SwitchBText},
}};

// The function whose channel, mode or controller parameter is paramIndex.
std::optional<int> JackFunctionOf(int paramIndex);
// The jack whose mode parameter is paramIndex.
std::optional<int> JackOfMode(int paramIndex);

// Conventional name of a MIDI control-change number; empty for numbers
// without one and outside 0..127.
std::string_view ControlChangeName(int controller);
// "C" .. "B" for a note number's pitch class.
std::string_view NoteName(int note);

using JackLines = std::array<std::string, kJackTextLines>;
// The three lines for a pedal (mode: PedalMode) or a switch (mode:
// SwitchFunctionMode); channel is 0..15 and shows as 1..16. Modes outside
// their list leave every line empty.
JackLines DescribePedal(int mode, int channel, int controller);
JackLines DescribeSwitch(int mode, int channel, int controller);

}  // namespace kr7
